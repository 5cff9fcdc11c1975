#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "model/vertex.h"

namespace rek {

// Dragging the canvas's sizing border resizes the drawing area while the drawing keeps its
// place on the screen: growing or shrinking on the left or top side shifts every vertex by the
// same amount the other way.

enum class BorderEdge { Left, Top, Right, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

// Which sides of the drawing area a dragged edge or corner moves.
bool movesLeftSide(BorderEdge edge);
bool movesRightSide(BorderEdge edge);
bool movesTopSide(BorderEdge edge);
bool movesBottomSide(BorderEdge edge);

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

// The drawing's side of one border drag: where the drawing area's corner stood at the previous
// step, so each step shifts the drawing by the corner's movement.
//
// The screen point passed in is the drawing area's top-left corner after clampBorderDragRect:
// it moves exactly as the dragged left or top edge does, also when the size limits stop the
// edge while the pointer goes on (the pointer itself would then drag the drawing away).
class BorderDrag {
  public:
    explicit BorderDrag(Point corner) : lastCorner_(corner) {}

    // Shifts every vertex by previous.x - corner.x for a left edge (Left, TopLeft, BottomLeft)
    // and previous.y - corner.y for a top edge, clamped to the coordinate limit. Returns whether
    // the drawing was shifted.
    bool step(VertexList& vertices, BorderEdge edge, Point corner);

  private:
    Point lastCorner_;
};

}  // namespace rek
