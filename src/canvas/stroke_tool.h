#pragma once

#include "canvas/tool.h"

namespace rek {

// What the straight-line and curve tools share: the press starts a stroke at the pointer, the
// release ends it there, and meanwhile a red line runs from the last vertex to the pointer.
class StrokeTool : public Tool {
  public:
    void press(ToolContext& context) override;
    // Ends the stroke at the pointer and records one snapshot. When the button came up where it
    // went down and nothing was placed in between, the lone stroke start goes.
    void release(ToolContext& context, bool dragged) override;
    RubberBand rubberBand(const Model& model, Point dragStart, Point pointer) const override;
};

}  // namespace rek
