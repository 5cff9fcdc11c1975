#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "canvas/editor.h"
#include "shell/command_id.h"

namespace rek {

struct ButtonState {
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const ButtonState&, const ButtonState&) = default;
};

// Everything the window shows for the editor's mode, as a pure function of its state: the
// status hint, the replay progress bar, the canvas cursor and every toolbar button.
struct ModeDisplay {
    QString hint;
    bool progressVisible = false;       // during a replay only
    std::uint32_t progressMaximum = 0;  // the total line length, truncated; 0 when hidden
    CursorKind cursor = CursorKind::Arrow;
    std::array<ButtonState, kCommandCount> buttons{};
};

// During a replay only VTR, About and Settings stay enabled (undo and redo follow the history
// throughout; their commands are refused during a replay). The move, scale and delete buttons
// need a selection.
ModeDisplay describeModeDisplay(const Editor& editor, KeyModifiers keys);

}  // namespace rek
