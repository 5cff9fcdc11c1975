#include "shell/editor_commands.h"

#include "canvas/tool_modes.h"
#include "model/selection.h"
#include "render/animation_clock.h"

namespace rek {
namespace {

std::optional<ToolMode> drawingModeFor(CommandId command) {
    switch (command) {
        case CommandId::StraightLineMode:
            return ToolMode::StraightLine;
        case CommandId::CurveMode:
            return ToolMode::Curve;
        case CommandId::RectMode:
            return ToolMode::Rect;
        case CommandId::CircleMode:
            return ToolMode::Circle;
        case CommandId::FilledRectMode:
            return ToolMode::FilledRect;
        case CommandId::FilledCircleMode:
            return ToolMode::FilledCircle;
        default:
            return std::nullopt;
    }
}

// Select all, clear and invert end in range-select mode.
template <typename SelectionChange>
void inRangeSelect(EditorState& editor, SelectionChange change) {
    editor.tool.mode = ToolMode::RangeSelect;
    change(editor.model, editor.tool);
    refreshModeDisplay(editor);
}

}  // namespace

std::optional<EditorCommandOutcome> runEditorCommand(EditorState& editor, CommandId command) {
    EditorCommandOutcome outcome;
    const bool replaying = editor.playback.vtrPlaying;

    if (const auto mode = drawingModeFor(command)) {
        setToolMode(editor, *mode);
        return outcome;
    }

    switch (command) {
        case CommandId::Undo:
        case CommandId::Redo: {
            if (replaying)
                return outcome;
            const RestoreOutcome restored = command == CommandId::Undo
                                                ? editor.history.undo(editor.model, editor.tool)
                                                : editor.history.redo(editor.model, editor.tool);
            if (restored.restored)
                refreshModeDisplay(editor);
            outcome.canvasSizeChanged = restored.sizeChanged;
            return outcome;
        }
        case CommandId::RangeSelectMode:
            setToolMode(editor, ToolMode::RangeSelect);
            return outcome;
        case CommandId::SelectAll:
            if (!replaying)
                inRangeSelect(editor, selectAll);
            return outcome;
        case CommandId::Deselect:
            if (!replaying)
                setToolMode(editor, ToolMode::RangeSelect);
            return outcome;
        case CommandId::InvertSelection:
            if (!replaying)
                inRangeSelect(editor, invertSelection);
            return outcome;
        case CommandId::MoveSelection:
            toggleMoveMode(editor);
            return outcome;
        case CommandId::ScaleSelection:
            toggleScaleMode(editor);
            return outcome;
        case CommandId::DeleteLines:
            if (editor.tool.mode == ToolMode::RangeSelect && editor.model.selectionExists) {
                deleteSelectedLines(editor.model, editor.tool, editor.history);
            }
            return outcome;
        case CommandId::DeleteLastVertex:
            deleteLastVertex(editor.model, editor.history);
            return outcome;
        case CommandId::Vtr:
            toggleVtr(editor);
            refreshModeDisplay(editor);
            return outcome;
        case CommandId::Wobble:
            editor.wobbleEnabled = !editor.wobbleEnabled;
            refreshModeDisplay(editor);
            return outcome;
        default:
            return std::nullopt;
    }
}

}  // namespace rek
