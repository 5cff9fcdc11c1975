#include "shell/mode_display.h"

#include "shell/command_table.h"

namespace rek {

namespace {

std::size_t index(CommandId id) {
    return static_cast<std::size_t>(id);
}

QString hintOf(const CommandInfo& command) {
    return commandHint(command);
}

}  // namespace

ModeDisplay describeModeDisplay(const Editor& editor, KeyModifiers keys) {
    ModeDisplay display;
    if (editor.replaying()) {
        display.hint = hintOf(commandInfo(CommandId::Vtr));
        display.progressVisible = true;
        display.progressMaximum = editor.replayProgressMaximum();
    } else if (editor.moveMode()) {
        display.hint = hintOf(commandInfo(CommandId::MoveSelection));
    } else if (editor.scaleMode()) {
        display.hint = hintOf(commandInfo(CommandId::ScaleSelection));
    } else {
        display.hint = hintOf(commandForTool(editor.toolMode()));
    }
    display.cursor = editor.cursor(keys);

    std::array<ButtonState, kCommandCount>& buttons = display.buttons;
    for (const CommandInfo& command : commandTable()) {
        if (command.tool)
            buttons[index(command.id)].checked = editor.toolMode() == *command.tool;
    }
    buttons[index(CommandId::MoveSelection)].checked = editor.moveMode();
    buttons[index(CommandId::ScaleSelection)].checked = editor.scaleMode();
    buttons[index(CommandId::Vtr)].checked = editor.replaying();
    buttons[index(CommandId::Wobble)].checked = editor.wobbleEnabled();

    if (editor.replaying()) {
        // Replay takes the whole toolbar except the replay switch and the two info dialogs.
        for (ButtonState& state : buttons)
            state.enabled = false;
        buttons[index(CommandId::Vtr)].enabled = true;
        buttons[index(CommandId::About)].enabled = true;
        buttons[index(CommandId::Settings)].enabled = true;
    } else {
        const bool selection = editor.model().selectionExists;
        buttons[index(CommandId::MoveSelection)].enabled = selection;
        buttons[index(CommandId::ScaleSelection)].enabled = selection;
        buttons[index(CommandId::DeleteLines)].enabled = selection;
    }
    buttons[index(CommandId::Undo)].enabled = editor.canUndo();
    buttons[index(CommandId::Redo)].enabled = editor.canRedo();
    return display;
}

}  // namespace rek
