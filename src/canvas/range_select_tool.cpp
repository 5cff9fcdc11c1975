#include "canvas/range_select_tool.h"

#include "canvas/shape_tool.h"
#include "model/selection.h"

namespace rek {

void selectInRectangle(Model& model, Point start, Point end, bool deselect) {
    const DragBounds b = dragBounds(start, end);
    model.selectionExists = false;
    for (Vertex& v : model.vertices) {
        if (b.left <= v.x && v.x < b.right && b.top <= v.y && v.y < b.bottom)
            v.selected = deselect ? 0 : 1;
        // Vertices selected earlier (a Ctrl or Shift drag keeps them) count as well.
        if (v.isSelected())
            model.selectionExists = true;
    }
}

void RangeSelectTool::press(ToolContext& context) {
    context.dragStart = context.pointer;
    // Ctrl adds to and Shift removes from the selection; a plain drag starts anew.
    if (!context.keys.ctrl && !context.keys.shift)
        deselectAll(context.model);
}

void RangeSelectTool::release(ToolContext& context, bool dragged) {
    // Selecting changes no vertex: no snapshot.
    if (dragged)
        selectInRectangle(context.model, context.dragStart, context.pointer, context.keys.shift);
}

RubberBand RangeSelectTool::rubberBand(const Model&, Point dragStart, Point pointer) const {
    return RubberBand{RubberBand::Shape::SelectionBand, dragStart, pointer};
}

CursorKind RangeSelectTool::cursor(KeyModifiers keys) const {
    if (keys.ctrl)
        return CursorKind::SelectAdd;
    if (keys.shift)
        return CursorKind::SelectRemove;
    return CursorKind::Select;
}

}  // namespace rek
