#pragma once

#include <optional>

#include "model/command_id.h"
#include "render/editor_state.h"

namespace rek {

struct EditorCommandOutcome {
    bool canvasSizeChanged = false;  // undo or redo restored another canvas size
};

// Runs a command that only changes the editor state: tool modes, selection, deletion, VTR,
// wobble, undo and redo. Returns std::nullopt for the commands that need the window (files,
// dialogs, exports).
std::optional<EditorCommandOutcome> runEditorCommand(EditorState& editor, CommandId command);

}  // namespace rek
