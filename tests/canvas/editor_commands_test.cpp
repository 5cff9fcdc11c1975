#include "canvas/tool_modes.h"

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;

class ToolModesTest : public ::testing::Test {
  protected:
    // Range select with both vertices selected.
    void selectAllInRangeSelect() {
        state.tool.mode = ToolMode::RangeSelect;
        for (Vertex& v : state.model.vertices)
            v.selected = 1;
        state.model.selectionExists = true;
    }

    EditorState state;
    const KeyModifiers none{};
};

TEST_F(ToolModesTest, ChangingModeEndsTheSelectionAndTheSubModes) {
    state.model.vertices = {makeVertex(0, 0, false), makeVertex(10, 0, true)};
    for (ToolMode mode : {ToolMode::StraightLine, ToolMode::Curve, ToolMode::Rect, ToolMode::Circle,
                          ToolMode::FilledRect, ToolMode::FilledCircle, ToolMode::RangeSelect}) {
        selectAllInRangeSelect();
        state.tool.moveMode = true;
        setToolMode(state, mode);
        EXPECT_EQ(state.tool.mode, mode);
        EXPECT_FALSE(state.model.selectionExists) << static_cast<int>(mode);
        EXPECT_FALSE(state.model.vertices[0].isSelected());
        EXPECT_FALSE(state.tool.moveMode);
    }
}

TEST_F(ToolModesTest, SubModesNeedRangeSelectAndASelection) {
    state.model.vertices = {makeVertex(0, 0, false)};
    EXPECT_FALSE(toggleMoveMode(state));  // straight-line mode
    state.tool.mode = ToolMode::RangeSelect;
    EXPECT_FALSE(toggleScaleMode(state));  // nothing selected
    EXPECT_FALSE(state.tool.moveMode || state.tool.scaleMode);

    selectAllInRangeSelect();
    EXPECT_TRUE(toggleMoveMode(state));
    EXPECT_TRUE(state.tool.moveMode);
    state.tool.scaleFactor = 0.25f;
    EXPECT_TRUE(toggleScaleMode(state));
    EXPECT_TRUE(state.tool.scaleMode);
    EXPECT_FALSE(state.tool.moveMode);
    EXPECT_EQ(state.tool.scaleFactor, 1.0f);
    EXPECT_TRUE(toggleScaleMode(state));
    EXPECT_FALSE(state.tool.scaleMode);
    EXPECT_TRUE(state.model.vertices[0].isSelected());
}

TEST_F(ToolModesTest, HintFollowsReplayThenSubModeThenMode) {
    state.tool.mode = ToolMode::FilledRect;
    EXPECT_EQ(describeModeDisplay(state, none).hint, "ドラッグで塗りつぶされた長方形を描く。");

    selectAllInRangeSelect();
    EXPECT_EQ(describeModeDisplay(state, none).hint,
              "ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しながらで"
              "選択除外。");
    state.tool.scaleMode = true;
    const ModeDisplay scale = describeModeDisplay(state, none);
    EXPECT_EQ(scale.hint,
              "ドラッグで拡大・縮小。ドラッグ開始点を基準に横方向のドラッグの距離で拡縮される。");
    EXPECT_FALSE(scale.progressVisible);

    state.playback.vtrPlaying = true;
    EXPECT_EQ(describeModeDisplay(state, none).hint, "レクモデルを描かれた順番に再現。");
}

TEST_F(ToolModesTest, ReplayShowsTheProgressBarOverTheLineLength) {
    state.model.vertices = {makeVertex(0, 0, false), makeVertex(30, 40, true),
                            makeVertex(30, 50, true), makeVertex(0, 0, false),
                            makeVertex(0, 7, true)};
    state.model.properties.vtrSpeed = 12;
    EXPECT_FALSE(describeModeDisplay(state, none).progressVisible);

    state.playback.vtrPlaying = true;
    const ModeDisplay display = describeModeDisplay(state, none);
    EXPECT_TRUE(display.progressVisible);
    EXPECT_EQ(display.progressMaximum, 67u);  // 50 + 10 + 7
    EXPECT_EQ(display.progressStep, 12);
    // Only VTR, About and Settings stay usable during the replay.
    EXPECT_TRUE(display.buttons[static_cast<int>(CommandId::Vtr)].enabled);
    EXPECT_FALSE(display.buttons[static_cast<int>(CommandId::RectMode)].enabled);
}

TEST_F(ToolModesTest, CursorFollowsModeSubModeAndModifierKeys) {
    EXPECT_EQ(describeModeDisplay(state, KeyModifiers{.ctrl = true}).cursor, CursorKind::Arrow);
    state.tool.mode = ToolMode::RangeSelect;
    EXPECT_EQ(cursorFor(state.tool, none), CursorKind::Select);
    EXPECT_EQ(cursorFor(state.tool, {.ctrl = true}), CursorKind::SelectAdd);
    EXPECT_EQ(cursorFor(state.tool, {.ctrl = true, .shift = true}), CursorKind::SelectAdd);
    EXPECT_EQ(cursorFor(state.tool, {.shift = true}), CursorKind::SelectRemove);
    state.tool.moveMode = true;
    EXPECT_EQ(cursorFor(state.tool, {.ctrl = true}), CursorKind::MoveAll);
    state.tool.moveMode = false;
    state.tool.scaleMode = true;
    EXPECT_EQ(cursorFor(state.tool, {.shift = true}), CursorKind::ResizeHorizontal);
}

TEST_F(ToolModesTest, ToolbarChecksTheModeAndEnablesSelectionCommands) {
    state.model.vertices = {makeVertex(0, 0, false)};
    selectAllInRangeSelect();
    state.tool.moveMode = true;
    const ModeDisplay display = describeModeDisplay(state, none);
    EXPECT_TRUE(display.buttons[static_cast<int>(CommandId::RangeSelectMode)].checked);
    EXPECT_TRUE(display.buttons[static_cast<int>(CommandId::MoveSelection)].checked);
    EXPECT_TRUE(display.buttons[static_cast<int>(CommandId::ScaleSelection)].enabled);
}

}  // namespace
}  // namespace rek
