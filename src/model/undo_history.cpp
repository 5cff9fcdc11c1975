#include "model/undo_history.h"

#include <algorithm>
#include <new>

namespace rek {

namespace {

UndoSnapshot takeSnapshot(const Model& model) {
    UndoSnapshot snapshot;
    snapshot.properties = model.properties;
    snapshot.vertexImages.resize(model.vertices.size() * kVertexImageSize);
    std::uint8_t* out = snapshot.vertexImages.data();
    for (const Vertex& vertex : model.vertices) {
        const VertexImage image = encodeVertexImage(vertex);
        for (std::uint8_t byte : image)
            *out++ = byte;
    }
    return snapshot;
}

}  // namespace

bool UndoHistory::recordSnapshot(const Model& model) {
    try {
        UndoSnapshot snapshot = takeSnapshot(model);
        // Make room before dropping the redo entries, so a failure leaves the history whole.
        const std::size_t kept = entries_.empty() ? 0 : current_ + 1;
        if (entries_.capacity() < kept + 1)
            entries_.reserve(std::max(kept + 1, 2 * kept));
        entries_.resize(kept);
        entries_.push_back(std::move(snapshot));
    } catch (const std::bad_alloc&) {
        return false;
    }
    current_ = entries_.size() - 1;
    return true;
}

RestoreOutcome UndoHistory::undo(Model& model, ToolState& tool) {
    if (!canUndo())
        return {};
    return restore(model, tool, current_ - 1);
}

RestoreOutcome UndoHistory::redo(Model& model, ToolState& tool) {
    if (!canRedo())
        return {};
    return restore(model, tool, current_ + 1);
}

bool UndoHistory::canUndo() const {
    return !entries_.empty() && current_ > 0;
}

bool UndoHistory::canRedo() const {
    return !entries_.empty() && current_ + 1 < entries_.size();
}

RestoreOutcome UndoHistory::restore(Model& model, ToolState& tool, std::size_t index) {
    const UndoSnapshot& entry = entries_.at(index);

    // Rebuild the list aside first: without memory for it the model stays as it is.
    VertexList restored;
    try {
        const std::size_t count = entry.vertexImages.size() / kVertexImageSize;
        restored.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            restored.push_back(decodeVertexImage(entry.vertexImages.data() + i * kVertexImageSize));
        }
    } catch (const std::bad_alloc&) {
        return {};
    }

    current_ = index;
    tool.moveMode = false;
    tool.scaleMode = false;
    model.vertices.swap(restored);
    model.selectionExists = false;

    RestoreOutcome outcome;
    outcome.restored = true;
    const ModelProperties& stored = entry.properties;
    outcome.sizeChanged = applyCanvasSize(model, stored.width, stored.height);

    ModelProperties& properties = model.properties;
    properties.shadowMode = stored.shadowMode;
    properties.vtrSpeed = stored.vtrSpeed;
    properties.wobbleAmount = stored.wobbleAmount;
    properties.lineWidth = stored.lineWidth;
    applyColor(model, ColorTarget::Line, stored.lineColor, stored.lineWidth);
    applyColor(model, ColorTarget::Shadow, stored.shadowColor, stored.lineWidth);
    applyColor(model, ColorTarget::Background, stored.backgroundColor, stored.lineWidth);
    return outcome;
}

}  // namespace rek
