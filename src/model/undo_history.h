#pragma once

#include <cstdint>
#include <vector>

#include "model/model.h"

namespace rek {

// A whole copy of the model at one point of its history.
struct UndoSnapshot {
    ModelProperties properties;
    std::vector<std::uint8_t> vertexImages;  // 12 bytes a vertex, in list order
};

struct RestoreOutcome {
    bool restored = false;
    bool sizeChanged = false;  // the window draws a frame, then re-centres the canvas
};

// Snapshots without limit. Empty only before the first snapshot of start-up.
class UndoHistory {
  public:
    // Appends the model as it is now and makes it current, dropping the redo entries.
    // Returns false, with the history as it was, when memory for the copy cannot be had.
    bool recordSnapshot(const Model& model);
    // Restore the older / newer entry: vertices and properties. The selection ends;
    // `modified`, `filePath` and `displayName` stay as they are. Without memory for the
    // rebuilt list nothing changes and `restored` is false.
    RestoreOutcome undo(Model& model);
    RestoreOutcome redo(Model& model);

    bool canUndo() const;
    bool canRedo() const;
    std::size_t size() const { return entries_.size(); }
    const UndoSnapshot& current() const { return entries_.at(current_); }
    // Drops every entry and starts again from the model as it is.
    void restart(const Model& model);

  private:
    RestoreOutcome restore(Model& model, std::size_t index);

    std::vector<UndoSnapshot> entries_;
    std::size_t current_ = 0;
};

}  // namespace rek
