#pragma once

#include <cstddef>
#include <cstdint>

#include "canvas/stroke_tool.h"

namespace rek {

// Freehand curves: the drag leaves a polyline that is thinned while it grows.
class CurveTool : public StrokeTool {
  public:
    void press(ToolContext& context) override;
    // Every sixth move, or as soon as the pointer is more than 20 pixels from the vertex added
    // last, the pointer becomes the next vertex and the curve's tail is thinned.
    void drag(ToolContext& context) override;

  private:
    std::int32_t movesSinceVertex_ = 0;
};

// Removes nearly straight vertices from the end of the list, where the curve tool is adding
// them: from the vertex two places before the last on, a Joined vertex V whose next vertex N
// is Joined too goes when, with P the vertex before V, the headings P->V and V->N, in whole
// degrees truncated toward zero, differ by less than 30 and P and N are at most 100 pixels
// apart. The heading difference is not wrapped: 179 and -179 degrees count as 358 apart. Stored
// positions are used, without jitter. Returns the number of vertices removed.
std::size_t thinCurve(VertexList& list);

}  // namespace rek
