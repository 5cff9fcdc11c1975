#pragma once

namespace rek {

// The toolbar's buttons, numbered as the program always numbered them; keys deliver the same
// commands.
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

}  // namespace rek
