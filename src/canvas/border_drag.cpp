#include "canvas/border_drag.h"

#include <algorithm>

#include "canvas/vertex_moves.h"
#include "model/model_properties.h"

namespace rek {

namespace {

// Any difference beyond twice the limit ends every coordinate at the limit anyway.
std::int32_t shiftBetween(std::int32_t previous, std::int32_t current) {
    const std::int64_t shift = static_cast<std::int64_t>(previous) - current;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(shift, -2 * kCoordinateLimit, 2 * kCoordinateLimit));
}

// Clamps one axis; `startMoves` says whether the dragged edge is the start (left or top) one.
// Too small, the dragged edge stops where the minimum allows. Too large, the end (right or
// bottom) edge gives way: dragging the left edge of a full-size canvas moves the whole canvas,
// and the drawing follows the pointer.
void clampSpan(std::int32_t& start, std::int32_t& length, std::int32_t minimum,
               std::int32_t maximum, bool startMoves) {
    if (length < minimum) {
        if (startMoves)
            start = static_cast<std::int32_t>(static_cast<std::int64_t>(start) + length - minimum);
        length = minimum;
    } else if (length > maximum) {
        length = maximum;
    }
}

}  // namespace

bool movesLeftSide(BorderEdge edge) {
    return edge == BorderEdge::Left || edge == BorderEdge::TopLeft ||
           edge == BorderEdge::BottomLeft;
}

bool movesRightSide(BorderEdge edge) {
    return edge == BorderEdge::Right || edge == BorderEdge::TopRight ||
           edge == BorderEdge::BottomRight;
}

bool movesTopSide(BorderEdge edge) {
    return edge == BorderEdge::Top || edge == BorderEdge::TopLeft || edge == BorderEdge::TopRight;
}

bool movesBottomSide(BorderEdge edge) {
    return edge == BorderEdge::Bottom || edge == BorderEdge::BottomLeft ||
           edge == BorderEdge::BottomRight;
}

AreaRect clampBorderDragRect(AreaRect proposed, BorderEdge edge) {
    clampSpan(proposed.left, proposed.width, kMinCanvasSize, kMaxCanvasWidth, movesLeftSide(edge));
    clampSpan(proposed.top, proposed.height, kMinCanvasSize, kMaxCanvasHeight, movesTopSide(edge));
    return proposed;
}

bool BorderDrag::step(VertexList& vertices, BorderEdge edge, Point corner) {
    bool shifted = false;
    if (movesLeftSide(edge)) {
        translateVertices(vertices, shiftBetween(lastCorner_.x, corner.x), 0, MovedVertices::All);
        shifted = true;
    }
    if (movesTopSide(edge)) {
        translateVertices(vertices, 0, shiftBetween(lastCorner_.y, corner.y), MovedVertices::All);
        shifted = true;
    }
    lastCorner_ = corner;
    return shifted;
}

}  // namespace rek
