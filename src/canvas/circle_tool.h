#pragma once

#include "canvas/shape_tool.h"

namespace rek {

// Circle and ellipse outlines, and with `filled` a hatch of chords inside.
class CircleTool : public ShapeTool {
  public:
    explicit CircleTool(bool filled) : filled_(filled) {}

    RubberBand rubberBand(const Model& model, Point dragStart, Point pointer) const override;

  protected:
    void appendShape(ToolContext& context) override;

  private:
    bool filled_;
};

// The outline of the ellipse in the drag rectangle: n + 1 vertices from a random start angle
// in a random direction (two draws from the generator). With `filled`, a hatch of chords
// across 225 degrees follows.
void appendCircle(ToolContext& context, bool filled);

}  // namespace rek
