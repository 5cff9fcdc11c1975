#include "canvas/rectangle_tool.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rek {

namespace {

constexpr std::int64_t kHatchStep = 30;
constexpr std::int64_t kSmallRectangle = 60;  // width + height below this: one diagonal

void append(ToolContext& context, std::int64_t x, std::int64_t y, bool joined) {
    // Every point lies within the drag rectangle, so it fits the 32-bit coordinates.
    context.append(Point{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)}, joined);
}

// A zig-zag stroke of diagonals 30 pixels apart along the edges. Walker U goes right along the
// top edge and then down the right edge, walker W down the left edge and then right along the
// bottom; each carries the distance it overshot a corner round that corner.
void appendHatch(ToolContext& context, const DragBounds& b) {
    if ((b.right - b.left) + (b.bottom - b.top) < kSmallRectangle) {
        append(context, b.right, b.top, false);
        append(context, b.left, b.bottom, true);
        return;
    }

    std::int64_t ux = b.left, uy = b.top;
    bool uOnRightEdge = false;
    std::int64_t wx = b.left, wy = b.top;
    bool wOnBottomEdge = false;
    bool first = true;
    for (;;) {
        if (uOnRightEdge) {
            uy += kHatchStep;
        } else {
            ux += kHatchStep;
            if (ux >= b.right) {
                uy = b.top + (ux - b.right);
                ux = b.right;
                uOnRightEdge = true;
            }
        }
        if (uOnRightEdge && uy >= b.bottom)
            break;
        append(context, ux, uy, !first);
        first = false;

        if (wOnBottomEdge) {
            wx += kHatchStep;
        } else {
            wy += kHatchStep;
            if (wy >= b.bottom) {
                wx = b.left + (wy - b.bottom);
                wy = b.bottom;
                wOnBottomEdge = true;
            }
        }
        if (wOnBottomEdge && wx >= b.right)
            break;
        append(context, wx, wy, true);
    }
}

}  // namespace

void appendRectangle(ToolContext& context, bool filled) {
    const Point s = context.dragStart;
    const Point e = context.pointer;
    std::array<Point, 4> k{Point{s.x, s.y}, Point{e.x, s.y}, Point{e.x, e.y}, Point{s.x, e.y}};

    // The outline starts at a random corner and runs a random way round.
    const int turns = context.random.next() % 4;
    std::rotate(k.begin(), k.begin() + turns, k.end());
    if (context.random.next() % 2 == 0)
        std::swap(k[1], k[3]);

    context.append(k[0], false);
    // The repeated start is dropped as equal; the last point closes the outline.
    for (const Point& corner : {k[0], k[1], k[2], k[3], k[0]})
        context.append(corner, true);

    if (filled)
        appendHatch(context, dragBounds(s, e));
}

void RectangleTool::appendShape(ToolContext& context) {
    appendRectangle(context, filled_);
}

RubberBand RectangleTool::rubberBand(const Model&, Point dragStart, Point pointer) const {
    return RubberBand{RubberBand::Shape::Rectangle, dragStart, pointer};
}

}  // namespace rek
