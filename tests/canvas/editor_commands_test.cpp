#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

// The editor's commands and the rules it keeps about tools, selection, sub-modes and replay.
class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{0, 0}, {100, 0}, {100, 100}}}));
    }

    // A stroke drawn with the straight-line tool.
    void drawLine(Point from, Point to) {
        editor.setToolMode(ToolMode::StraightLine);
        editor.samplePointer(from);
        editor.pressLeft({});
        editor.samplePointer(to);
        editor.releaseLeft({});
    }
    std::size_t count() const { return editor.model().vertices.size(); }
    bool anySelected() const {
        for (const Vertex& v : editor.model().vertices) {
            if (v.isSelected())
                return true;
        }
        return false;
    }

    Editor editor;
};

// --- tools and sub-modes --------------------------------------------------------------------

TEST_F(EditorCommandsTest, ChangingModeEndsTheSelectionAndTheSubModes) {
    for (ToolMode mode : {ToolMode::StraightLine, ToolMode::Curve, ToolMode::Rect, ToolMode::Circle,
                          ToolMode::FilledRect, ToolMode::FilledCircle, ToolMode::RangeSelect}) {
        SCOPED_TRACE(static_cast<int>(mode));
        editor.selectAll();
        ASSERT_TRUE(editor.toggleMoveMode());
        editor.setToolMode(mode);
        EXPECT_EQ(editor.toolMode(), mode);
        EXPECT_FALSE(editor.model().selectionExists);
        EXPECT_FALSE(anySelected());
        EXPECT_EQ(editor.subMode(), SubMode::None);
    }
}

TEST_F(EditorCommandsTest, SubModesNeedRangeSelectAndASelection) {
    EXPECT_FALSE(editor.toggleMoveMode());  // straight-line mode
    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_FALSE(editor.toggleScaleMode());  // nothing selected
    EXPECT_FALSE(editor.toggleMoveMode());
    EXPECT_EQ(editor.subMode(), SubMode::None);

    editor.selectAll();
    EXPECT_TRUE(editor.toggleMoveMode());
    EXPECT_TRUE(editor.moveMode());
    EXPECT_TRUE(editor.toggleScaleMode());
    EXPECT_TRUE(editor.scaleMode());
    EXPECT_FALSE(editor.moveMode());
    EXPECT_TRUE(editor.toggleMoveMode());
    EXPECT_TRUE(editor.moveMode());
    EXPECT_FALSE(editor.scaleMode());
    EXPECT_TRUE(editor.toggleMoveMode());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_TRUE(editor.model().vertices[0].isSelected()) << "the selection outlasts its sub-modes";
}

TEST_F(EditorCommandsTest, SwitchingScaleModeSetsTheFactorBackToOne) {
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    editor.samplePointer({0, 0});
    editor.pressLeft({});
    editor.samplePointer({50, 0});
    editor.movePointer(true, {});
    ASSERT_EQ(editor.scaleFactor(), 1.5f);
    ASSERT_TRUE(editor.toggleScaleMode());
    EXPECT_EQ(editor.scaleFactor(), 1.0f);
}

TEST_F(EditorCommandsTest, CursorFollowsModeSubModeAndModifierKeys) {
    EXPECT_EQ(editor.cursor({.ctrl = true}), CursorKind::Arrow);
    editor.setToolMode(ToolMode::FilledCircle);
    EXPECT_EQ(editor.cursor({.shift = true}), CursorKind::Arrow);
    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_EQ(editor.cursor({}), CursorKind::Select);
    EXPECT_EQ(editor.cursor({.ctrl = true}), CursorKind::SelectAdd);
    EXPECT_EQ(editor.cursor({.ctrl = true, .shift = true}), CursorKind::SelectAdd);
    EXPECT_EQ(editor.cursor({.shift = true}), CursorKind::SelectRemove);
    editor.selectAll();
    editor.toggleMoveMode();
    EXPECT_EQ(editor.cursor({.ctrl = true}), CursorKind::MoveAll);
    editor.toggleScaleMode();
    EXPECT_EQ(editor.cursor({.shift = true}), CursorKind::ResizeHorizontal);
}

// --- selection commands ---------------------------------------------------------------------

TEST_F(EditorCommandsTest, SelectionCommandsEndInRangeSelect) {
    editor.selectAll();
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{true, true, true}));

    editor.setToolMode(ToolMode::Curve);
    editor.invertSelection();  // nothing selected: all of it
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{true, true, true}));
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);

    editor.selectAll();
    editor.toggleScaleMode();
    editor.setToolMode(ToolMode::Rect);
    editor.deselect();
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_FALSE(editor.model().selectionExists);

    editor.selectAll();
    editor.toggleMoveMode();
    editor.deselect();
    EXPECT_FALSE(anySelected());
    EXPECT_EQ(editor.subMode(), SubMode::None);
}

// --- replay ---------------------------------------------------------------------------------

TEST_F(EditorCommandsTest, SelectionCommandsAreIgnoredDuringReplayButRangeSelectIsNot) {
    editor.toggleReplay();
    ASSERT_TRUE(editor.replaying());

    editor.selectAll();
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);
    editor.deselect();
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);

    // M and Shift+Z act.
    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    editor.deleteLastVertex();
    EXPECT_EQ(count(), 2u);
    EXPECT_TRUE(editor.replaying());
}

TEST_F(EditorCommandsTest, UndoAndRedoAreIgnoredDuringReplay) {
    editor.deleteLastVertex();
    ASSERT_EQ(count(), 2u);
    editor.toggleReplay();
    EXPECT_FALSE(editor.undo());
    EXPECT_EQ(count(), 2u);
    editor.toggleReplay();
    ASSERT_FALSE(editor.replaying());
    EXPECT_TRUE(editor.undo());
    EXPECT_EQ(count(), 3u);

    editor.toggleReplay();
    EXPECT_FALSE(editor.redo());
    EXPECT_EQ(count(), 3u);
    editor.toggleReplay();
    EXPECT_TRUE(editor.redo());
    EXPECT_EQ(count(), 2u);
}

TEST_F(EditorCommandsTest, EveryReplayStartsFromTheFirstSegment) {
    FrameRenderer renderer;
    editor.toggleReplay();
    editor.frameTick(renderer, {0, 0});
    ASSERT_GT(editor.replayDrawnLength(), 0u);
    editor.toggleReplay();
    EXPECT_FALSE(editor.replaying());
    editor.toggleReplay();
    EXPECT_TRUE(editor.replaying());
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
}

TEST_F(EditorCommandsTest, ReplayProgressRunsOverTheTotalLineLength) {
    test::loadDrawing(editor, test::strokes({{{0, 0}, {30, 40}, {30, 50}}, {{0, 0}, {0, 7}}}));
    EXPECT_EQ(editor.replayProgressMaximum(), 67u);  // 50 + 10 + 7
}

// --- undo and redo --------------------------------------------------------------------------

TEST_F(EditorCommandsTest, UndoAndRedoEndTheSubModesAndTheSelection) {
    drawLine({10, 10}, {60, 10});
    editor.selectAll();
    ASSERT_TRUE(editor.toggleMoveMode());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_FALSE(anySelected());
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);

    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_FALSE(anySelected());

    // With nothing to undo or redo the sub-mode stays.
    ASSERT_FALSE(editor.canRedo());
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    EXPECT_FALSE(editor.redo());
    EXPECT_TRUE(editor.scaleMode());
}

TEST_F(EditorCommandsTest, UndoAndRedoLeaveTheModifiedMarkAsItIs) {
    ASSERT_FALSE(editor.model().modified);
    drawLine({10, 10}, {60, 10});
    ASSERT_TRUE(editor.model().modified);
    ASSERT_TRUE(editor.undo());
    EXPECT_TRUE(editor.model().modified) << "back at the opened drawing, but it was edited";
    ASSERT_TRUE(editor.redo());
    EXPECT_TRUE(editor.model().modified);

    // Saved, then undone: the drawing differs from the file, and stays unmarked all the same.
    test::ScratchFolder folder;
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    ASSERT_FALSE(editor.model().modified);
    ASSERT_TRUE(editor.undo());
    EXPECT_FALSE(editor.model().modified);
    ASSERT_TRUE(editor.redo());
    EXPECT_FALSE(editor.model().modified);
}

// --- deleting -------------------------------------------------------------------------------

TEST_F(EditorCommandsTest, DeleteLinesNeedsASelectionInRangeSelect) {
    editor.deleteSelectedLines();
    editor.setToolMode(ToolMode::RangeSelect);
    editor.deleteSelectedLines();
    EXPECT_EQ(count(), 3u);
    EXPECT_EQ(test::recorded(editor), 0u);

    // Only the first segment: the rest of the stroke stays, one snapshot.
    editor.samplePointer({-1, -1});
    editor.pressLeft({});
    editor.samplePointer({101, 1});
    editor.releaseLeft({});
    ASSERT_TRUE(editor.toggleMoveMode());
    editor.deleteSelectedLines();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{100, 0, true}, {100, 100}}));
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(test::recorded(editor), 1u);
    EXPECT_TRUE(editor.model().modified);
}

TEST_F(EditorCommandsTest, DeleteLinesRecordsTwoSnapshotsWhenTheTailGoes) {
    editor.selectAll();
    editor.deleteSelectedLines();
    EXPECT_TRUE(editor.model().vertices.empty());
    EXPECT_EQ(test::recorded(editor), 2u);
    // Undo steps back through both.
    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(count(), 3u);
}

TEST_F(EditorCommandsTest, DeleteLastVertexAlwaysRecordsASnapshot) {
    editor.deleteLastVertex();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{0, 0, true}, {100, 0}}));
    editor.deleteLastVertex();  // the lone start left goes with it
    EXPECT_TRUE(editor.model().vertices.empty());
    editor.deleteLastVertex();
    EXPECT_EQ(test::recorded(editor), 3u);
}

TEST_F(EditorCommandsTest, WobbleSwitchesOnAndOff) {
    EXPECT_TRUE(editor.wobbleEnabled());
    editor.toggleWobble();
    EXPECT_FALSE(editor.wobbleEnabled());
    editor.toggleWobble();
    EXPECT_TRUE(editor.wobbleEnabled());
}

}  // namespace
}  // namespace rek
