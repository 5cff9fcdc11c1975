#include "canvas/move_gesture.h"

#include <algorithm>

#include "canvas/vertex_moves.h"

namespace rek {

void MoveGesture::press(ToolContext& context) {
    context.dragStart = context.pointer;
}

void MoveGesture::drag(ToolContext& context) {
    const Point pointer = context.pointer;
    const std::int64_t dx = static_cast<std::int64_t>(pointer.x) - context.dragStart.x;
    const std::int64_t dy = static_cast<std::int64_t>(pointer.y) - context.dragStart.y;
    // Beyond twice the limit every coordinate ends at the limit anyway.
    const auto limit = [](std::int64_t d) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(d, -2 * kCoordinateLimit, 2 * kCoordinateLimit));
    };
    translateVertices(context.model.vertices, limit(dx), limit(dy), MovedVertices::Selected);
    context.dragStart = pointer;
    context.model.modified = true;
}

void MoveGesture::release(ToolContext& context, bool) {
    context.snapshotWanted = true;
}

CursorKind MoveGesture::cursor(KeyModifiers) const {
    return CursorKind::MoveAll;
}

}  // namespace rek
