#pragma once

#include "canvas/tool.h"

namespace rek {

// Selects the vertices inside a dragged rectangle: a plain drag selects anew, with Ctrl it
// adds to the selection, with Shift it removes from it.
class RangeSelectTool : public Tool {
  public:
    void press(ToolContext& context) override;
    void release(ToolContext& context, bool dragged) override;
    RubberBand rubberBand(const Model& model, Point dragStart, Point pointer) const override;
    CursorKind cursor(KeyModifiers keys) const override;
};

// Selects the vertices with start.x <= x < end.x (and the same for y, corners in any order),
// or deselects them when `deselect`. selectionExists then tells whether any vertex at all is
// still selected.
void selectInRectangle(Model& model, Point start, Point end, bool deselect);

}  // namespace rek
