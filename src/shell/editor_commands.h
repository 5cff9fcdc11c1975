#pragma once

#include "canvas/editor.h"
#include "shell/command_id.h"

namespace rek {

// Runs a command that only the editor is needed for: tools, selection, deletion, replay,
// wobble, undo and redo. Returns false for the commands that need the window (files,
// dialogs, exports).
bool runEditorCommand(Editor& editor, CommandId command);

}  // namespace rek
