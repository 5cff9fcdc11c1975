#include "canvas/tool_modes.h"

#include "model/selection.h"
#include "render/animation_clock.h"

namespace rek {

const char* modeHintText(ModeHint hint) {
    switch (hint) {
        case ModeHint::StraightLine:
            return "ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。";
        case ModeHint::Curve:
            return "ドラッグで曲線を引く。ただの直線の集まりなので頂点の増えすぎに注意。";
        case ModeHint::Move:
            return "ドラッグで平行移動。";
        case ModeHint::Scale:
            return "ドラッグで拡大・縮小。ドラッグ開始点を基準に横方向のドラッグの距離で拡縮"
                   "される。";
        case ModeHint::VtrReplay:
            return "レクモデルを描かれた順番に再現。";
        case ModeHint::Rect:
            return "ドラッグで長方形を描く。";
        case ModeHint::Circle:
            return "ドラッグで円を描く。";
        case ModeHint::FilledRect:
            return "ドラッグで塗りつぶされた長方形を描く。";
        case ModeHint::FilledCircle:
            return "ドラッグで塗りつぶされた円を描く。";
        case ModeHint::RangeSelect:
            return "ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しな"
                   "がらで選択除外。";
    }
    return "";
}

ModeHint hintForMode(ToolMode mode) {
    switch (mode) {
        case ToolMode::StraightLine:
            return ModeHint::StraightLine;
        case ToolMode::Curve:
            return ModeHint::Curve;
        case ToolMode::Rect:
            return ModeHint::Rect;
        case ToolMode::Circle:
            return ModeHint::Circle;
        case ToolMode::FilledRect:
            return ModeHint::FilledRect;
        case ToolMode::FilledCircle:
            return ModeHint::FilledCircle;
        case ToolMode::RangeSelect:
            return ModeHint::RangeSelect;
    }
    return ModeHint::StraightLine;
}

CursorKind cursorFor(const ToolState& tool, KeyModifiers keys) {
    if (tool.mode != ToolMode::RangeSelect)
        return CursorKind::Arrow;
    if (tool.scaleMode)
        return CursorKind::ResizeHorizontal;
    if (tool.moveMode)
        return CursorKind::MoveAll;
    if (keys.ctrl)
        return CursorKind::SelectAdd;
    if (keys.shift)
        return CursorKind::SelectRemove;
    return CursorKind::Select;
}

ModeDisplay describeModeDisplay(const EditorState& state, KeyModifiers keys) {
    const ToolState& tool = state.tool;
    ModeDisplay display;

    ModeHint hint = hintForMode(tool.mode);
    if (state.playback.vtrPlaying) {
        hint = ModeHint::VtrReplay;
        display.progressVisible = true;
        display.progressMaximum = vtrProgressMaximum(state);
        display.progressStep = state.model.properties.vtrSpeed;
    } else if (tool.moveMode) {
        hint = ModeHint::Move;
    } else if (tool.scaleMode) {
        hint = ModeHint::Scale;
    }
    display.hint = modeHintText(hint);
    display.cursor = cursorFor(tool, keys);

    ToolbarInputs inputs;
    inputs.mode = tool.mode;
    inputs.moveMode = tool.moveMode;
    inputs.scaleMode = tool.scaleMode;
    inputs.selectionExists = state.model.selectionExists;
    inputs.vtrPlaying = state.playback.vtrPlaying;
    inputs.wobbleEnabled = state.wobbleEnabled;
    inputs.canUndo = state.history.canUndo();
    inputs.canRedo = state.history.canRedo();
    display.buttons = toolbarButtonStates(inputs);
    return display;
}

void refreshModeDisplay(EditorState& state) {
    updateToolbarState(state.model, state.tool);
}

void setToolMode(EditorState& state, ToolMode mode) {
    state.tool.mode = mode;
    if (mode == ToolMode::RangeSelect)
        deselectAll(state.model, state.tool);
    refreshModeDisplay(state);
}

namespace {

bool subModeAllowed(const EditorState& state) {
    return state.tool.mode == ToolMode::RangeSelect && state.model.selectionExists;
}

}  // namespace

bool toggleMoveMode(EditorState& state) {
    if (!subModeAllowed(state))
        return false;
    state.tool.moveMode = !state.tool.moveMode;
    state.tool.scaleMode = false;
    refreshModeDisplay(state);
    return true;
}

bool toggleScaleMode(EditorState& state) {
    if (!subModeAllowed(state))
        return false;
    state.tool.scaleFactor = 1.0f;
    state.tool.scaleMode = !state.tool.scaleMode;
    state.tool.moveMode = false;
    refreshModeDisplay(state);
    return true;
}

}  // namespace rek
