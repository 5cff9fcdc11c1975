#include "canvas/circle_tool.h"

#include <algorithm>
#include <cmath>

namespace rek {

namespace {

constexpr double kCircleSegmentsPerPixel = 0.10471973333333334;  // 2 * 3.141592 / 60
constexpr std::int64_t kFewestCircleSegments = 8;
constexpr std::int64_t kCircleHatchAxis = 225;  // degrees: the chords run lower left to upper right

struct Ellipse {
    std::int64_t cx, cy, rx, ry;
    std::int64_t segments;

    // Whole degrees, clockwise on screen because y grows downwards.
    Point at(std::int64_t degrees) const {
        const double radians = static_cast<double>(degrees) * kDegreesToRadians;
        const auto dx = static_cast<std::int64_t>(std::cos(radians) * static_cast<double>(rx));
        const auto dy = static_cast<std::int64_t>(std::sin(radians) * static_cast<double>(ry));
        return {static_cast<std::int32_t>(cx + dx), static_cast<std::int32_t>(cy + dy)};
    }

    // The angle of the k-th of `segments` equal steps round the full turn, truncated.
    std::int64_t step(std::int64_t k) const { return 360 * k / segments; }
};

Ellipse ellipseIn(const DragBounds& b) {
    Ellipse e{};
    e.rx = (b.right - b.left) / 2;
    e.ry = (b.bottom - b.top) / 2;
    e.cx = b.left + e.rx;
    e.cy = b.top + e.ry;
    // About one segment per 30 pixels of circumference.
    e.segments =
        static_cast<std::int64_t>(static_cast<double>(e.rx + e.ry) * kCircleSegmentsPerPixel);
    e.segments = std::max(e.segments, kFewestCircleSegments);
    return e;
}

// Chords perpendicular to the diameter through 225 degrees, from the upper-left rim towards
// the lower right, as one zig-zag stroke.
void appendHatch(ToolContext& context, const Ellipse& e) {
    const std::int64_t chords = (e.segments + 1) / 2;
    // One full turn past the first chord's start, which the next append normally drops as equal.
    context.append(e.at(kCircleHatchAxis + 360 + e.step(1)), false);
    for (std::int64_t j = 1; j < chords; ++j) {
        context.append(e.at(kCircleHatchAxis + e.step(j)), true);
        context.append(e.at(kCircleHatchAxis - e.step(j)), true);
    }
}

}  // namespace

void appendCircle(ToolContext& context, bool filled) {
    const std::int64_t start = context.random.next() % 360;
    const std::int64_t direction = context.random.next() % 2 == 0 ? -1 : 1;

    const Ellipse e = ellipseIn(dragBounds(context.dragStart, context.pointer));
    context.append(e.at(start), false);
    // The last point is one full turn from the start and closes the outline.
    for (std::int64_t k = 1; k <= e.segments; ++k)
        context.append(e.at(start + direction * e.step(k)), true);

    if (filled)
        appendHatch(context, e);
}

void CircleTool::appendShape(ToolContext& context) {
    appendCircle(context, filled_);
}

RubberBand CircleTool::rubberBand(const Model&, Point dragStart, Point pointer) const {
    return RubberBand{RubberBand::Shape::Ellipse, dragStart, pointer};
}

}  // namespace rek
