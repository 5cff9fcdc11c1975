#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "canvas/canvas_input.h"
#include "model/command_id.h"
#include "model/tool_state.h"
#include "render/editor_state.h"

namespace rek {

// The hints of the status bar's second part, numbered as the program always numbered them.
enum class ModeHint {
    StraightLine = 0,
    Curve = 1,
    Move = 2,
    Scale = 3,
    VtrReplay = 4,
    Rect = 5,
    Circle = 6,
    FilledRect = 7,
    FilledCircle = 8,
    RangeSelect = 9,
};

const char* modeHintText(ModeHint hint);
ModeHint hintForMode(ToolMode mode);

enum class CursorKind { Arrow, Select, SelectAdd, SelectRemove, ResizeHorizontal, MoveAll };

// The cursor over the canvas. Only range select has its own cursors; a sub-mode's cursor wins
// over the Ctrl and Shift variants.
CursorKind cursorFor(const ToolState& tool, KeyModifiers keys);

// Everything the shell shows for the current mode, as a pure function of the state.
struct ModeDisplay {
    std::string hint;
    bool progressVisible = false;       // the VTR progress bar, during replay only
    std::uint32_t progressMaximum = 0;  // total line length, truncated; 0 when hidden
    std::int32_t progressStep = 0;      // vtrSpeed; 0 when hidden
    CursorKind cursor = CursorKind::Arrow;
    std::array<ButtonState, kCommandCount> buttons{};
};

// Call after refreshModeDisplay so that a selection left outside range select is gone first.
ModeDisplay describeModeDisplay(const EditorState& state, KeyModifiers keys);

// The state part of refreshing the mode display: outside range select every selection and
// both sub-modes end. The shell then applies describeModeDisplay.
void refreshModeDisplay(EditorState& state);

// The tool-mode commands. Range select (M) also clears the selection; choosing any other tool
// ends the selection and the sub-modes through refreshModeDisplay.
void setToolMode(EditorState& state, ToolMode mode);

// The move (V) and scale (Z) sub-mode commands: accepted only in range select with a
// selection; each switches the other sub-mode off. The scale command also resets the factor
// to 1. Return whether the command was accepted.
bool toggleMoveMode(EditorState& state);
bool toggleScaleMode(EditorState& state);

}  // namespace rek
