#pragma once

#include <cstdint>

#include "canvas/tool.h"

namespace rek {

// The drag rectangle with its corners sorted. 64-bit so that sums and steps cannot overflow.
struct DragBounds {
    std::int64_t left, top, right, bottom;
};

DragBounds dragBounds(Point start, Point end);

// What the rectangle and circle tools share: the drag spans a rectangle from the pressed point
// to the pointer, and the release turns it into strokes and records one snapshot.
class ShapeTool : public Tool {
  public:
    void press(ToolContext& context) override;
    void release(ToolContext& context, bool dragged) override;

  protected:
    // Appends the shape for the rectangle from context.dragStart to context.pointer.
    virtual void appendShape(ToolContext& context) = 0;
};

}  // namespace rek
