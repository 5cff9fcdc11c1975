#include "canvas/border_drag.h"

#include <algorithm>

#include "canvas/shape_tools.h"
#include "model/model_properties.h"
#include "model/selection.h"

namespace rek {

namespace {

bool movesLeftEdge(BorderEdge edge) {
    return edge == BorderEdge::Left || edge == BorderEdge::TopLeft ||
           edge == BorderEdge::BottomLeft;
}

bool movesTopEdge(BorderEdge edge) {
    return edge == BorderEdge::Top || edge == BorderEdge::TopLeft || edge == BorderEdge::TopRight;
}

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
        if (startMoves) {
            start = static_cast<std::int32_t>(static_cast<std::int64_t>(start) + length - minimum);
        }
        length = minimum;
    } else if (length > maximum) {
        length = maximum;
    }
}

}  // namespace

void beginBorderDrag(EditorState& state, Point screenPoint) {
    deselectAll(state.model, state.tool);
    state.tool.resizingCanvas = true;
    state.tool.lastBorderPosition = screenPoint;
}

BorderStep borderDragStep(EditorState& state, BorderEdge edge, Point screenPoint) {
    BorderStep step;
    ToolState& tool = state.tool;
    // Without the flag translateVertices would move the selection instead of the drawing.
    if (!tool.resizingCanvas)
        return step;

    const Point previous = tool.lastBorderPosition;
    if (movesLeftEdge(edge)) {
        translateVertices(state, shiftBetween(previous.x, screenPoint.x), 0);
        step.drawFrame = true;
    }
    if (movesTopEdge(edge)) {
        translateVertices(state, 0, shiftBetween(previous.y, screenPoint.y));
        step.drawFrame = true;
    }
    tool.lastBorderPosition = screenPoint;
    return step;
}

void endBorderDrag(EditorState& state, std::int32_t newWidth, std::int32_t newHeight) {
    if (!state.tool.resizingCanvas)
        return;
    // Resizing the canvas is not an edit of the drawing: `modified` stays as it was.
    applyCanvasSize(state.model, newWidth, newHeight);
    state.history.recordSnapshot(state.model);
    state.tool.resizingCanvas = false;
}

AreaRect clampBorderDragRect(AreaRect proposed, BorderEdge edge) {
    clampSpan(proposed.left, proposed.width, kMinCanvasSize, kMaxCanvasWidth, movesLeftEdge(edge));
    clampSpan(proposed.top, proposed.height, kMinCanvasSize, kMaxCanvasHeight, movesTopEdge(edge));
    return proposed;
}

}  // namespace rek
