#pragma once

#include "model/model.h"
#include "model/tool_state.h"

namespace rek {

class UndoHistory;

void selectAll(Model& model, ToolState& tool);
// Clears every selection and switches move and scale modes off; the tool mode stays.
void deselectAll(Model& model, ToolState& tool);
void invertSelection(Model& model, ToolState& tool);

// Deletes every segment whose two ends are selected, keeping the strokes well formed.
void deleteSelectedLines(Model& model, ToolState& tool, UndoHistory& history);
// Removes the tail and any stroke starts left dangling before it; always records a snapshot.
void deleteLastVertex(Model& model, UndoHistory& history);

// A selection exists only in range-select mode: outside it, every selection and both
// sub-modes end. Run whenever the mode display is refreshed.
void updateToolbarState(Model& model, ToolState& tool);

}  // namespace rek
