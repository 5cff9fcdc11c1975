#pragma once

#include "canvas/shape_tool.h"

namespace rek {

// Rectangle outlines, and with `filled` a hatch of diagonals inside.
class RectangleTool : public ShapeTool {
  public:
    explicit RectangleTool(bool filled) : filled_(filled) {}

    RubberBand rubberBand(const Model& model, Point dragStart, Point pointer) const override;

  protected:
    void appendShape(ToolContext& context) override;

  private:
    bool filled_;
};

// The outline: five vertices starting at a random corner and running a random way round (two
// draws from the generator). With `filled`, the hatch stroke follows.
void appendRectangle(ToolContext& context, bool filled);

}  // namespace rek
