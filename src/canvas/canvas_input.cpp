#include "canvas/canvas_input.h"

#include "canvas/edit_outcome.h"
#include "canvas/line_tools.h"
#include "canvas/shape_tools.h"
#include "model/selection.h"

namespace rek {

namespace {

void reportMemory(InputOutcome& outcome, const EditOutcome& edit) {
    if (edit.outOfMemory && outcome.message.empty()) {
        outcome.message = UserMessage{kVertexMemoryMessage, MessageIcon::Error};
    }
}

EditOutcome appendAtPointer(EditorState& state, bool joined) {
    EditOutcome edit;
    edit.note(appendVertex(state.model, state.tool.pointer.x, state.tool.pointer.y, joined));
    return edit;
}

// Ends a straight line or curve at the pointer. When the button came up where it went down and
// nothing was placed in between, the stroke start is all there is, and it goes.
EditOutcome finishStroke(EditorState& state) {
    EditOutcome edit = appendAtPointer(state, true);
    VertexList& list = state.model.vertices;
    if (!list.empty() && list.back().isStrokeStart())
        list.pop_back();
    return edit;
}

bool replaying(const EditorState& state) {
    return state.playback.vtrPlaying;
}

}  // namespace

InputOutcome pressLeft(EditorState& state, KeyModifiers keys) {
    InputOutcome outcome;
    ToolState& tool = state.tool;
    if (replaying(state) || tool.dragging)
        return outcome;
    outcome.confinePointer = true;

    if (tool.scaleMode) {
        tool.scalePivot = tool.pointer;
    } else if (tool.moveMode) {
        tool.dragStart = tool.pointer;
    } else {
        switch (tool.mode) {
            case ToolMode::StraightLine:
                reportMemory(outcome, appendAtPointer(state, false));
                break;
            case ToolMode::Curve:
                reportMemory(outcome, appendAtPointer(state, false));
                tool.dragStart = tool.pointer;
                tool.curveMoveCount = 0;
                break;
            case ToolMode::Rect:
            case ToolMode::Circle:
            case ToolMode::FilledRect:
            case ToolMode::FilledCircle:
                tool.dragStart = tool.pointer;
                break;
            case ToolMode::RangeSelect:
                tool.dragStart = tool.pointer;
                // Ctrl adds to and Shift removes from the selection; a plain drag starts anew.
                if (!keys.ctrl && !keys.shift)
                    deselectAll(state.model, tool);
                break;
        }
    }
    tool.dragging = true;
    return outcome;
}

InputOutcome releaseLeft(EditorState& state, KeyModifiers keys) {
    InputOutcome outcome;
    outcome.releasePointer = true;
    ToolState& tool = state.tool;

    if (tool.scaleMode) {
        applyScale(state);
        state.history.recordSnapshot(state.model);
    } else if (tool.moveMode) {
        state.history.recordSnapshot(state.model);
    } else if (tool.dragging) {
        switch (tool.mode) {
            case ToolMode::StraightLine:
            case ToolMode::Curve:
                reportMemory(outcome, finishStroke(state));
                state.history.recordSnapshot(state.model);
                break;
            case ToolMode::Rect:
            case ToolMode::FilledRect:
                reportMemory(outcome, addRectangle(state));
                state.history.recordSnapshot(state.model);
                break;
            case ToolMode::Circle:
            case ToolMode::FilledCircle:
                reportMemory(outcome, addCircle(state));
                state.history.recordSnapshot(state.model);
                break;
            case ToolMode::RangeSelect:
                selectInRectangle(state, keys.shift);
                break;
        }
    }
    tool.dragging = false;
    return outcome;
}

InputOutcome movePointer(EditorState& state, bool leftButtonHeld, KeyModifiers keys) {
    InputOutcome outcome;
    ToolState& tool = state.tool;
    if (replaying(state) || !tool.dragging)
        return outcome;

    if (tool.scaleMode) {
        scaleDragStep(state);
    } else if (tool.moveMode) {
        moveDragStep(state);
    } else if (tool.mode == ToolMode::Curve) {
        reportMemory(outcome, curveStep(state));
    }

    // The release itself may have gone elsewhere (outside the window, to another program).
    if (!leftButtonHeld) {
        InputOutcome released = releaseLeft(state, keys);
        if (released.message.empty())
            released.message = outcome.message;
        return released;
    }
    return outcome;
}

InputOutcome pressRight(EditorState& state) {
    InputOutcome outcome;
    const ToolState& tool = state.tool;
    if (replaying(state))
        return outcome;
    if (tool.dragging && tool.mode == ToolMode::StraightLine) {
        reportMemory(outcome, appendAtPointer(state, true));
    }
    return outcome;
}

}  // namespace rek
