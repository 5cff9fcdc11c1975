#pragma once

#include "canvas/stroke_tool.h"

namespace rek {

// Straight lines between the pressed point, every point right-clicked during the drag, and
// the released point.
class StraightLineTool : public StrokeTool {
  public:
    void pressRight(ToolContext& context, bool dragging) override;
};

}  // namespace rek
