#include "model/command_id.h"

#include <utility>

namespace rek {

namespace {

struct AcceleratorEntry {
    int acceleratorId;
    CommandId command;
};

constexpr AcceleratorEntry kAccelerators[] = {
    {40009, CommandId::New},
    {1111, CommandId::Open},
    {40012, CommandId::Save},
    {40026, CommandId::Undo},
    {40028, CommandId::Redo},
    {40014, CommandId::StraightLineMode},
    {40007, CommandId::CurveMode},
    {40017, CommandId::RectMode},
    {40018, CommandId::CircleMode},
    {40020, CommandId::FilledRectMode},
    {40019, CommandId::FilledCircleMode},
    {40027, CommandId::DeleteLastVertex},
    {40023, CommandId::RangeSelectMode},
    {40006, CommandId::SelectAll},
    {40021, CommandId::Deselect},
    {40022, CommandId::InvertSelection},
    {40008, CommandId::MoveSelection},
    {40016, CommandId::ScaleSelection},
    {40024, CommandId::DeleteLines},
    {40013, CommandId::Vtr},
    {40015, CommandId::Wobble},
    {40011, CommandId::Properties},
};

constexpr std::pair<ToolMode, CommandId> kModeButtons[] = {
    {ToolMode::StraightLine, CommandId::StraightLineMode},
    {ToolMode::Curve, CommandId::CurveMode},
    {ToolMode::Rect, CommandId::RectMode},
    {ToolMode::Circle, CommandId::CircleMode},
    {ToolMode::FilledRect, CommandId::FilledRectMode},
    {ToolMode::FilledCircle, CommandId::FilledCircleMode},
    {ToolMode::RangeSelect, CommandId::RangeSelectMode},
};

constexpr std::size_t index(CommandId id) {
    return static_cast<std::size_t>(id);
}

}  // namespace

std::optional<CommandId> commandForAccelerator(int acceleratorId) {
    for (const AcceleratorEntry& entry : kAccelerators) {
        if (entry.acceleratorId == acceleratorId)
            return entry.command;
    }
    return std::nullopt;
}

std::array<ButtonState, kCommandCount> toolbarButtonStates(const ToolbarInputs& inputs) {
    std::array<ButtonState, kCommandCount> states{};

    for (const auto& [mode, button] : kModeButtons) {
        states[index(button)].checked = inputs.mode == mode;
    }
    states[index(CommandId::MoveSelection)].checked = inputs.moveMode;
    states[index(CommandId::ScaleSelection)].checked = inputs.scaleMode;
    states[index(CommandId::Vtr)].checked = inputs.vtrPlaying;
    states[index(CommandId::Wobble)].checked = inputs.wobbleEnabled;

    if (inputs.vtrPlaying) {
        // Replay takes the whole toolbar except the replay switch and the two info dialogs.
        for (ButtonState& state : states)
            state.enabled = false;
        states[index(CommandId::Vtr)].enabled = true;
        states[index(CommandId::About)].enabled = true;
        states[index(CommandId::Settings)].enabled = true;
    } else {
        states[index(CommandId::MoveSelection)].enabled = inputs.selectionExists;
        states[index(CommandId::ScaleSelection)].enabled = inputs.selectionExists;
        states[index(CommandId::DeleteLines)].enabled = inputs.selectionExists;
    }
    // Undo and redo follow the history, in replay too (their commands are refused there).
    states[index(CommandId::Undo)].enabled = inputs.canUndo;
    states[index(CommandId::Redo)].enabled = inputs.canRedo;
    return states;
}

}  // namespace rek
