#include "canvas/shape_tool.h"

#include <algorithm>

namespace rek {

DragBounds dragBounds(Point start, Point end) {
    return {std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
            std::max(start.y, end.y)};
}

void ShapeTool::press(ToolContext& context) {
    context.dragStart = context.pointer;
}

void ShapeTool::release(ToolContext& context, bool dragged) {
    if (!dragged)
        return;
    appendShape(context);
    context.snapshotWanted = true;
}

}  // namespace rek
