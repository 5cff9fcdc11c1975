#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

// The pointer operations of the editor. Every handler reads the pointer the last frame (here
// samplePointer) took, never a position of its own.
class EditorInputTest : public ::testing::Test {
  protected:
    void at(std::int32_t x, std::int32_t y) { editor.samplePointer({x, y}); }
    std::vector<Pt> drawing() const { return pts(editor.model().vertices); }
    std::size_t snapshots() const { return test::recorded(editor); }

    Editor editor;
    const KeyModifiers none{};
};

TEST_F(EditorInputTest, ClickWithoutMovingLeavesTheDrawingButMarksModified) {
    test::loadDrawing(editor, test::strokes({{{0, 0}, {5, 5}}}));
    at(30, 30);
    editor.pressLeft(none);
    editor.releaseLeft(none);
    EXPECT_EQ(drawing(), (std::vector<Pt>{{0, 0, true}, {5, 5, false}}));
    EXPECT_TRUE(editor.model().modified);
    EXPECT_EQ(snapshots(), 1u);

    // The same on an empty drawing empties the list again.
    Editor empty;
    empty.samplePointer({30, 30});
    empty.pressLeft(none);
    empty.releaseLeft(none);
    EXPECT_TRUE(empty.model().vertices.empty());
}

TEST_F(EditorInputTest, CurveDragAddsThinnedVerticesAndEndsAtTheRelease) {
    editor.setToolMode(ToolMode::Curve);
    at(0, 0);
    editor.pressLeft(none);
    for (Point p : {Point{25, 1}, Point{50, 0}, Point{50, 30}}) {
        editor.samplePointer(p);
        editor.movePointer(true, none);
    }
    at(55, 35);
    editor.releaseLeft(none);
    EXPECT_EQ(drawing(),
              (std::vector<Pt>{{0, 0, true}, {50, 0, false}, {50, 30, false}, {55, 35, false}}));
    EXPECT_EQ(snapshots(), 1u);
}

TEST_F(EditorInputTest, ShapesRecordOneSnapshotAndRangeSelectNone) {
    editor.seedRandom(1);
    editor.setToolMode(ToolMode::FilledCircle);
    at(0, 0);
    editor.pressLeft(none);
    at(100, 100);
    editor.movePointer(true, none);  // shapes do nothing while moving
    EXPECT_TRUE(editor.model().vertices.empty());
    editor.releaseLeft(none);
    EXPECT_EQ(editor.model().vertices.size(), 11u + 8u);
    EXPECT_EQ(snapshots(), 1u);

    editor.setToolMode(ToolMode::RangeSelect);
    at(-1, -1);
    editor.pressLeft(none);
    at(200, 200);
    editor.releaseLeft(none);
    EXPECT_TRUE(editor.model().selectionExists);
    EXPECT_EQ(snapshots(), 1u);
    EXPECT_FALSE(editor.canRedo());
}

TEST_F(EditorInputTest, MoveAndScaleSubModesRecordOnEveryRelease) {
    test::loadDrawing(editor, test::strokes({{{210, 200}}}));
    editor.selectAll();
    ASSERT_TRUE(editor.toggleMoveMode());
    editor.releaseLeft(none);  // no press before it
    EXPECT_EQ(snapshots(), 1u);

    ASSERT_TRUE(editor.toggleScaleMode());
    at(200, 200);
    editor.pressLeft(none);
    at(300, 200);
    editor.movePointer(true, none);
    EXPECT_EQ(editor.scaleFactor(), 2.0f);
    EXPECT_EQ(editor.model().vertices[0].x, 210);  // only previewed while dragging
    editor.releaseLeft(none);
    EXPECT_EQ(editor.model().vertices[0].x, 220);
    EXPECT_EQ(editor.scaleFactor(), 1.0f);
    EXPECT_EQ(snapshots(), 2u);

    // The snapshot holds the scaled drawing.
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.model().vertices[0].x, 210);
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.model().vertices[0].x, 220);
}

TEST_F(EditorInputTest, PressesAndMovesAreIgnoredDuringReplayButReleasesAreNot) {
    editor.toggleReplay();
    at(10, 10);
    editor.pressLeft(none);
    EXPECT_FALSE(editor.dragging());
    EXPECT_TRUE(editor.model().vertices.empty());

    // A drag begun before the replay started still ends at its release.
    editor.toggleReplay();
    editor.pressLeft(none);
    editor.toggleReplay();
    at(30, 30);
    editor.pressRight();
    at(40, 10);
    editor.movePointer(false, none);  // ignored: the release is not taken from a move either
    EXPECT_TRUE(editor.dragging());
    editor.releaseLeft(none);
    EXPECT_EQ(drawing(), (std::vector<Pt>{{10, 10, true}, {40, 10, false}}));
    EXPECT_FALSE(editor.dragging());
    EXPECT_EQ(snapshots(), 1u);
}

// A move that finds the button up ends the drag like a release; moves without a drag and a
// second press during one do nothing.
TEST_F(EditorInputTest, MoveFindingTheButtonUpEndsTheDragAndSecondPressesAreIgnored) {
    at(10, 10);
    editor.pressLeft(none);
    at(20, 20);
    editor.pressLeft(none);
    EXPECT_EQ(drawing(), (std::vector<Pt>{{10, 10, true}}));
    at(60, 10);
    editor.movePointer(false, none);
    EXPECT_FALSE(editor.dragging());
    EXPECT_EQ(drawing(), (std::vector<Pt>{{10, 10, true}, {60, 10, false}}));
    editor.movePointer(false, none);
    editor.movePointer(true, none);
    EXPECT_EQ(snapshots(), 1u);
    EXPECT_EQ(drawing().size(), 2u);

    editor.setToolMode(ToolMode::Rect);
    at(30, 30);
    editor.pressLeft(none);
    at(40, 40);
    editor.pressLeft(none);
    EXPECT_EQ(editor.dragStart(), (Point{30, 30}));
}

}  // namespace
}  // namespace rek
