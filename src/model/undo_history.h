#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/chunked_vertex_list.h"
#include "model/model.h"

namespace rek {

// One entry of the history written out in full, for looking at it.
struct UndoSnapshot {
    ModelProperties properties;
    std::vector<std::uint8_t> vertexImages;  // 12 bytes a vertex, in list order, offsets zero
};

struct RestoreOutcome {
    bool restored = false;
    bool sizeChanged = false;  // the window draws a frame, then re-centres the canvas
};

// Snapshots without limit. Empty only before the first snapshot of start-up.
//
// Entries share the parts of the vertex list that did not change between them (see
// ChunkedVertexList), so the history grows with what the edits changed, not with the size of
// the drawing times the number of edits. Every entry restores the positions, kinds and reserved
// bytes of the list it was taken from.
//
// The history keeps the drawing, not the animation: no wobble offsets. A restored vertex keeps
// the offsets of the live vertex at its index, and one beyond the live list gets zero ones.
// The next wobble step, at most 60 ms later, rewrites or zeroes every offset anyway; keeping
// them would cost memory that grows with edits times drawing size, for nothing anyone sees.
class UndoHistory {
  public:
    static constexpr std::size_t kDefaultChunkVertices = 1024;

    // `chunkVertices`: how many vertices a full chunk of shared storage holds.
    explicit UndoHistory(std::size_t chunkVertices = kDefaultChunkVertices);

    // Appends the model as it is now and makes it current, dropping the redo entries.
    // Returns false, with the history as it was, when memory for the copy cannot be had.
    bool recordSnapshot(const Model& model);
    // Restore the older / newer entry: vertex shapes and properties. The selection ends;
    // `modified`, `filePath` and `displayName` stay as they are. Without memory for the
    // rebuilt list nothing changes and `restored` is false.
    RestoreOutcome undo(Model& model);
    RestoreOutcome redo(Model& model);

    bool canUndo() const;
    bool canRedo() const;
    std::size_t size() const { return entries_.size(); }
    // The current entry written out (a pass over the whole list).
    UndoSnapshot current() const;
    // Drops every entry and starts again from the model as it is.
    void restart(const Model& model);

    // Heap bytes the entries hold, every shared chunk counted once.
    std::size_t storedBytes() const;
    // Runs in the current entry's table: at most about two for each full chunk of vertices.
    std::size_t currentSegmentCount() const;

  private:
    struct Entry {
        ModelProperties properties;
        ChunkedVertexList vertices;
    };

    RestoreOutcome restore(Model& model, std::size_t index);

    std::vector<Entry> entries_;
    std::size_t current_ = 0;
    std::size_t chunkVertices_;
};

}  // namespace rek
