#include "canvas/straight_line_tool.h"

namespace rek {

void StraightLineTool::pressRight(ToolContext& context, bool dragging) {
    if (dragging)
        context.appendAtPointer(true);
}

}  // namespace rek
