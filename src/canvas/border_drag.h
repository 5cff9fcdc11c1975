#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "render/editor_state.h"

namespace rek {

// Dragging the canvas's sizing border resizes the drawing area while the drawing keeps its
// place on the screen: growing or shrinking on the left or top side shifts every vertex by the
// same amount the other way.

enum class BorderEdge { Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// Ends the selection, switches translateVertices to every vertex and remembers the position.
//
// `screenPoint` here and in borderDragStep is a screen position of which only the change
// between steps counts. Pass the screen position of the drawing area's top-left corner after
// clampBorderDragRect: it moves exactly as the dragged left or top edge does, also when the
// size limits stop the edge while the pointer goes on (the pointer itself would then drag the
// drawing away from its place).
void beginBorderDrag(EditorState& state, Point screenPoint);

struct BorderStep {
    bool drawFrame = false;  // the drawing moved: draw a frame now, before the canvas moves
};

// One step of the drag: a left edge (Left, TopLeft, BottomLeft) shifts every vertex by
// previous.x - current.x, a top edge (Top, TopLeft, TopRight) by previous.y - current.y,
// clamped to the coordinate limit. Does nothing unless a border drag is in progress.
BorderStep borderDragStep(EditorState& state, BorderEdge edge, Point screenPoint);

// The drag is over: the drawing area's new size goes into the model (within the canvas size
// limits), one history snapshot is recorded and translateVertices is back to the selection.
// A border drag does not mark the model modified. Does nothing unless a drag is in progress.
void endBorderDrag(EditorState& state, std::int32_t newWidth, std::int32_t newHeight);

// A drawing-area rectangle in screen coordinates.
struct AreaRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const AreaRect&, const AreaRect&) = default;
};

// Keeps a rectangle the drag proposes within 10..800 x 10..600. Below the minimum the dragged
// edge is held back; above the maximum the right or bottom edge gives way, so a left or top
// edge dragged past the limit moves the whole canvas.
AreaRect clampBorderDragRect(AreaRect proposed, BorderEdge edge);

}  // namespace rek
