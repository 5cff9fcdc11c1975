#pragma once

#include <array>
#include <optional>

#include "model/tool_state.h"

namespace rek {

// Toolbar button ids; keyboard accelerators deliver the same ids.
enum class CommandId : int {
    New = 0,
    Open = 1,
    StraightLineMode = 2,
    CurveMode = 3,
    Save = 4,
    MoveSelection = 5,
    ScaleSelection = 6,
    Vtr = 7,
    About = 8,
    Settings = 9,
    DeleteLastVertex = 10,
    SaveAs = 11,
    ExportGif = 12,
    ExportBmp = 13,
    Properties = 14,
    Wobble = 15,
    RectMode = 16,
    CircleMode = 17,
    FilledRectMode = 18,
    FilledCircleMode = 19,
    RangeSelectMode = 20,
    SelectAll = 21,
    Deselect = 22,
    InvertSelection = 23,
    DeleteLines = 24,
    Undo = 25,
    Redo = 26,
};

inline constexpr int kCommandCount = 27;

// The accelerator ids of the original key table, mapped to the button they stand for.
std::optional<CommandId> commandForAccelerator(int acceleratorId);

struct ButtonState {
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const ButtonState&, const ButtonState&) = default;
};

struct ToolbarInputs {
    ToolMode mode = ToolMode::StraightLine;
    bool moveMode = false;
    bool scaleMode = false;
    bool selectionExists = false;
    bool vtrPlaying = false;
    bool wobbleEnabled = true;
    bool canUndo = false;
    bool canRedo = false;
};

// Check and enable state of every button, as a pure function of the editor state. During
// replay only VTR, About and Settings (and undo/redo by their own state) stay enabled.
std::array<ButtonState, kCommandCount> toolbarButtonStates(const ToolbarInputs& inputs);

}  // namespace rek
