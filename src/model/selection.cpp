#include "model/selection.h"

#include "model/undo_history.h"

namespace rek {

namespace {

void setAllSelected(Model& model, std::uint8_t value) {
    for (Vertex& vertex : model.vertices)
        vertex.selected = value;
}

}  // namespace

void selectAll(Model& model) {
    setAllSelected(model, 1);
    // Also for an empty list: the move, scale and delete commands are available regardless.
    model.selectionExists = true;
}

void deselectAll(Model& model) {
    setAllSelected(model, 0);
    model.selectionExists = false;
}

void invertSelection(Model& model) {
    bool any = false;
    for (Vertex& vertex : model.vertices) {
        vertex.selected = vertex.isSelected() ? 0 : 1;
        any = any || vertex.isSelected();
    }
    model.selectionExists = any;
}

void deleteSelectedLines(Model& model, UndoHistory& history) {
    VertexList& list = model.vertices;
    const auto strokeStart = static_cast<std::uint8_t>(VertexKind::StrokeStart);

    // Compacted in place: list[0, kept) is the list as it stands before list[read], so
    // list[kept - 1] is always the current predecessor of the vertex being looked at.
    std::size_t kept = 0;
    bool tailReached = false;
    for (std::size_t read = 0; read < list.size(); ++read) {
        Vertex vertex = list[read];
        const bool segmentSelected =
            vertex.isJoined() && vertex.isSelected() && kept > 0 && list[kept - 1].isSelected();
        if (!segmentSelected) {
            list[kept++] = vertex;
            continue;
        }

        model.modified = true;
        const bool predecessorIsStart = list[kept - 1].isStrokeStart();

        if (read + 1 == list.size()) {
            // The tail's segment: deleteLastVertex also takes the stroke starts it leaves.
            list[kept++] = vertex;
            tailReached = true;
            break;
        }

        if (list[read + 1].isStrokeStart()) {
            // The vertex ends its stroke: it goes, and so does a start left without segments.
            if (predecessorIsStart)
                --kept;
        } else {
            // Inside a stroke: the segment out of the vertex stays, so it begins a new stroke.
            vertex.kind = strokeStart;
            if (predecessorIsStart)
                --kept;
            list[kept++] = vertex;
        }
    }
    list.resize(kept);

    if (tailReached)
        deleteLastVertex(model, history);
    deselectAll(model);
    history.recordSnapshot(model);
}

void deleteLastVertex(Model& model, UndoHistory& history) {
    VertexList& list = model.vertices;
    if (!list.empty()) {
        list.pop_back();
        while (!list.empty() && list.back().isStrokeStart())
            list.pop_back();
        model.modified = true;
    }
    history.recordSnapshot(model);
}

}  // namespace rek
