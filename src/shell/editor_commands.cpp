#include "shell/editor_commands.h"

#include "shell/command_table.h"

namespace rek {

bool runEditorCommand(Editor& editor, CommandId command) {
    if (const std::optional<ToolMode> tool = commandInfo(command).tool) {
        editor.setToolMode(*tool);
        return true;
    }
    switch (command) {
        case CommandId::Undo:
            editor.undo();
            return true;
        case CommandId::Redo:
            editor.redo();
            return true;
        case CommandId::SelectAll:
            editor.selectAll();
            return true;
        case CommandId::Deselect:
            editor.deselect();
            return true;
        case CommandId::InvertSelection:
            editor.invertSelection();
            return true;
        case CommandId::MoveSelection:
            editor.toggleMoveMode();
            return true;
        case CommandId::ScaleSelection:
            editor.toggleScaleMode();
            return true;
        case CommandId::DeleteLines:
            editor.deleteSelectedLines();
            return true;
        case CommandId::DeleteLastVertex:
            editor.deleteLastVertex();
            return true;
        case CommandId::Vtr:
            editor.toggleReplay();
            return true;
        case CommandId::Wobble:
            editor.toggleWobble();
            return true;
        default:
            return false;
    }
}

}  // namespace rek
