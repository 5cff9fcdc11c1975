#include "canvas/stroke_tool.h"

namespace rek {

void StrokeTool::press(ToolContext& context) {
    context.appendAtPointer(false);
}

void StrokeTool::release(ToolContext& context, bool dragged) {
    if (!dragged)
        return;
    context.appendAtPointer(true);
    VertexList& list = context.model.vertices;
    if (!list.empty() && list.back().isStrokeStart())
        list.pop_back();
    context.snapshotWanted = true;
}

RubberBand StrokeTool::rubberBand(const Model& model, Point, Point pointer) const {
    if (model.vertices.empty())
        return {};
    const Vertex& last = model.vertices.back();
    return RubberBand{RubberBand::Shape::Line, Point{last.x, last.y}, pointer};
}

}  // namespace rek
