#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;
using test::selectedFlags;

// The editor's commands and the rules it keeps about tools, selection, sub-modes and replay.
class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{0, 0}, {100, 0}, {100, 100}}}));
    }
    void drawLine(Point from, Point to) {
        editor.setToolMode(ToolMode::StraightLine);
        editor.samplePointer(from);
        editor.pressLeft({});
        editor.samplePointer(to);
        editor.releaseLeft({});
    }
    std::size_t count() const { return editor.model().vertices.size(); }
    const std::vector<bool> none{false, false, false};
    const std::vector<bool> all{true, true, true};

    Editor editor;
};

TEST_F(EditorCommandsTest, ChangingModeEndsTheSelectionAndTheSubModes) {
    for (ToolMode mode : {ToolMode::StraightLine, ToolMode::Curve, ToolMode::Rect, ToolMode::Circle,
                          ToolMode::FilledRect, ToolMode::FilledCircle, ToolMode::RangeSelect}) {
        SCOPED_TRACE(static_cast<int>(mode));
        editor.selectAll();
        ASSERT_TRUE(editor.toggleMoveMode());
        editor.setToolMode(mode);
        EXPECT_FALSE(editor.model().selectionExists);
        EXPECT_EQ(selectedFlags(editor), none);
        EXPECT_EQ(editor.subMode(), SubMode::None);
    }
}

TEST_F(EditorCommandsTest, SubModesNeedRangeSelectAndASelectionAndExcludeEachOther) {
    EXPECT_FALSE(editor.toggleMoveMode());  // straight-line mode
    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_FALSE(editor.toggleScaleMode());  // nothing selected
    EXPECT_FALSE(editor.toggleMoveMode());

    editor.selectAll();
    EXPECT_TRUE(editor.toggleMoveMode());
    EXPECT_TRUE(editor.toggleScaleMode());
    EXPECT_TRUE(editor.scaleMode());
    EXPECT_FALSE(editor.moveMode());
    EXPECT_TRUE(editor.toggleScaleMode());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(selectedFlags(editor), all) << "the selection outlasts its sub-modes";
}

TEST_F(EditorCommandsTest, SelectionCommandsEndInRangeSelect) {
    editor.setToolMode(ToolMode::Curve);
    editor.invertSelection();  // nothing selected: all of it
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(selectedFlags(editor), all);
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);

    editor.selectAll();
    editor.toggleScaleMode();
    editor.setToolMode(ToolMode::Rect);
    editor.selectAll();
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(selectedFlags(editor), all);
    editor.toggleMoveMode();
    editor.deselect();
    EXPECT_EQ(selectedFlags(editor), none);
    EXPECT_EQ(editor.subMode(), SubMode::None);
}

// During a replay, selection commands, undo and redo are ignored; M and Shift+Z act.
TEST_F(EditorCommandsTest, ReplayIgnoresSelectionCommandsUndoAndRedo) {
    editor.deleteLastVertex();
    editor.toggleReplay();
    editor.selectAll();
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);
    editor.deselect();
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    EXPECT_FALSE(editor.undo());
    EXPECT_EQ(count(), 2u);

    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    editor.deleteLastVertex();
    EXPECT_EQ(count(), 0u);
    EXPECT_TRUE(editor.replaying());

    editor.toggleReplay();
    EXPECT_TRUE(editor.undo());
    editor.toggleReplay();
    EXPECT_FALSE(editor.redo());
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
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
}

TEST_F(EditorCommandsTest, UndoAndRedoEndTheSubModesAndTheSelection) {
    drawLine({10, 10}, {60, 10});
    editor.selectAll();
    ASSERT_TRUE(editor.toggleMoveMode());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_EQ(selectedFlags(editor), none);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);

    // With nothing to undo or redo the sub-mode stays.
    ASSERT_TRUE(editor.redo());
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    EXPECT_FALSE(editor.redo());
    EXPECT_TRUE(editor.scaleMode());
}

TEST_F(EditorCommandsTest, UndoAndRedoLeaveTheModifiedMarkAsItIs) {
    drawLine({10, 10}, {60, 10});
    ASSERT_TRUE(editor.undo());
    EXPECT_TRUE(editor.model().modified) << "back at the opened drawing, but it was edited";

    // Saved, then undone: the drawing differs from the file, and stays unmarked all the same.
    test::ScratchFolder folder;
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    ASSERT_TRUE(editor.redo());
    EXPECT_FALSE(editor.model().modified);
    ASSERT_TRUE(editor.undo());
    EXPECT_FALSE(editor.model().modified);
}

TEST_F(EditorCommandsTest, DeleteLinesNeedsASelectionAndRecordsOneSnapshotPerChange) {
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
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(test::recorded(editor), 1u);
    EXPECT_TRUE(editor.model().modified);

    // The tail goes too: two snapshots, and undo steps back through both.
    editor.selectAll();
    editor.deleteSelectedLines();
    EXPECT_TRUE(editor.model().vertices.empty());
    EXPECT_EQ(test::recorded(editor), 3u);
    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(count(), 2u);
}

TEST_F(EditorCommandsTest, DeleteLastVertexAlwaysRecordsASnapshot) {
    editor.deleteLastVertex();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{0, 0, true}, {100, 0}}));
    editor.deleteLastVertex();  // the lone start left goes with it
    EXPECT_TRUE(editor.model().vertices.empty());
    editor.deleteLastVertex();
    EXPECT_EQ(test::recorded(editor), 3u);
}

}  // namespace
}  // namespace rek
