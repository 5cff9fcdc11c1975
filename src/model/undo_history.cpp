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

RestoreOutcome UndoHistory::undo(Model& model) {
    if (!canUndo())
        return {};
    return restore(model, current_ - 1);
}

RestoreOutcome UndoHistory::redo(Model& model) {
    if (!canRedo())
        return {};
    return restore(model, current_ + 1);
}

void UndoHistory::restart(const Model& model) {
    std::vector<UndoSnapshot>().swap(entries_);
    current_ = 0;
    recordSnapshot(model);
}

bool UndoHistory::canUndo() const {
    return !entries_.empty() && current_ > 0;
}

bool UndoHistory::canRedo() const {
    return !entries_.empty() && current_ + 1 < entries_.size();
}

RestoreOutcome UndoHistory::restore(Model& model, std::size_t index) {
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
    model.vertices.swap(restored);
    model.selectionExists = false;

    RestoreOutcome outcome;
    outcome.restored = true;
    outcome.sizeChanged = setProperties(model, entry.properties).size;
    return outcome;
}

}  // namespace rek
