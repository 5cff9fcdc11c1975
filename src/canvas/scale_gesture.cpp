#include "canvas/scale_gesture.h"

#include <algorithm>
#include <climits>

#include "canvas/vertex_moves.h"

namespace rek {

namespace {

constexpr float kScalePerPixel = 0.01f;

}  // namespace

float scaleFactorForDistance(std::int32_t dx) {
    // Evaluated wider than float and stored as float, so that 100 pixels left of the pivot
    // gives a factor just above 0 rather than exactly 0.
    const double factor =
        static_cast<double>(1.0f) + static_cast<double>(kScalePerPixel) * static_cast<double>(dx);
    if (factor < 0.0)
        return 0.0f;
    return static_cast<float>(factor);
}

void ScaleGesture::press(ToolContext& context) {
    preview_.pivot = context.pointer;
}

void ScaleGesture::drag(ToolContext& context) {
    const std::int64_t distance = static_cast<std::int64_t>(context.pointer.x) - preview_.pivot.x;
    preview_.factor = scaleFactorForDistance(
        static_cast<std::int32_t>(std::clamp<std::int64_t>(distance, INT32_MIN, INT32_MAX)));
    if (preview_.factor != 1.0f)
        context.model.modified = true;
}

void ScaleGesture::release(ToolContext& context, bool) {
    scaleSelectedVertices(context.model.vertices, preview_.pivot, preview_.factor);
    preview_.factor = 1.0f;
    context.snapshotWanted = true;
}

std::optional<ScalePreview> ScaleGesture::scalePreview() const {
    return preview_;
}

CursorKind ScaleGesture::cursor(KeyModifiers) const {
    return CursorKind::ResizeHorizontal;
}

}  // namespace rek
