#include "model/undo_history.h"

#include <algorithm>
#include <new>
#include <unordered_set>

namespace rek {

UndoHistory::UndoHistory(std::size_t chunkVertices) : chunkVertices_(chunkVertices) {}

bool UndoHistory::recordSnapshot(const Model& model) {
    try {
        // Make room first: capturing may append to a chunk of the current entry, which is
        // invisible to every entry but the new one, yet best done only when it will be kept.
        const std::size_t kept = entries_.empty() ? 0 : current_ + 1;
        if (entries_.capacity() < kept + 1)
            entries_.reserve(std::max(kept + 1, 2 * kept));
        const ChunkedVertexList* base = entries_.empty() ? nullptr : &entries_[current_].vertices;
        Entry entry{model.properties,
                    ChunkedVertexList::capture(model.vertices, base, chunkVertices_)};
        entries_.resize(kept);
        entries_.push_back(std::move(entry));
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
    std::vector<Entry>().swap(entries_);
    current_ = 0;
    recordSnapshot(model);
}

bool UndoHistory::canUndo() const {
    return !entries_.empty() && current_ > 0;
}

bool UndoHistory::canRedo() const {
    return !entries_.empty() && current_ + 1 < entries_.size();
}

UndoSnapshot UndoHistory::current() const {
    const Entry& entry = entries_.at(current_);
    UndoSnapshot snapshot{entry.properties, {}};
    VertexList vertices;
    if (!entry.vertices.restoreInto(vertices))
        throw std::bad_alloc();
    snapshot.vertexImages.reserve(vertices.size() * kVertexImageSize);
    for (const Vertex& vertex : vertices) {
        const VertexImage image = encodeVertexImage(vertex);
        snapshot.vertexImages.insert(snapshot.vertexImages.end(), image.begin(), image.end());
    }
    return snapshot;
}

std::size_t UndoHistory::storedBytes() const {
    std::unordered_set<const void*> seen;
    std::size_t bytes = entries_.capacity() * sizeof(Entry);
    for (const Entry& entry : entries_)
        bytes += entry.vertices.countBytes(seen);
    return bytes;
}

std::size_t UndoHistory::currentSegmentCount() const {
    return entries_.at(current_).vertices.segmentCount();
}

RestoreOutcome UndoHistory::restore(Model& model, std::size_t index) {
    const Entry& entry = entries_.at(index);
    // Without memory for the list the model stays as it is.
    if (!entry.vertices.restoreInto(model.vertices))
        return {};

    current_ = index;
    model.selectionExists = false;

    RestoreOutcome outcome;
    outcome.restored = true;
    outcome.sizeChanged = setProperties(model, entry.properties).size;
    return outcome;
}

}  // namespace rek
