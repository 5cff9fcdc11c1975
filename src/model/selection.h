#pragma once

#include "model/model.h"

namespace rek {

class UndoHistory;

void selectAll(Model& model);
// Clears every vertex's selection and selectionExists.
void deselectAll(Model& model);
void invertSelection(Model& model);

// Deletes every segment whose two ends are selected, keeping the strokes well formed, then
// ends the selection and records a snapshot. When the tail's segment goes, deleteLastVertex
// takes it (and records a snapshot of its own first).
void deleteSelectedLines(Model& model, UndoHistory& history);
// Removes the tail and any stroke starts left dangling before it; always records a snapshot.
void deleteLastVertex(Model& model, UndoHistory& history);

}  // namespace rek
