#include "canvas/canvas_input.h"

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;
using test::Pt;
using test::pts;

class CanvasInputTest : public ::testing::Test {
  protected:
    void at(std::int32_t x, std::int32_t y) { state.tool.pointer = {x, y}; }
    std::size_t snapshots() const { return state.history.size(); }

    EditorState state;
    const KeyModifiers none{};
};

// --- straight lines -------------------------------------------------------------------------

TEST_F(CanvasInputTest, StraightLineWithTwoRightClicks) {
    at(10, 10);
    const InputOutcome pressed = pressLeft(state, none);
    EXPECT_TRUE(pressed.confinePointer);
    at(50, 10);
    pressRight(state);
    at(50, 50);
    pressRight(state);
    pressRight(state);  // same place again: nothing
    at(10, 50);
    const InputOutcome released = releaseLeft(state, none);
    EXPECT_TRUE(released.releasePointer);
    EXPECT_TRUE(released.message.empty());

    EXPECT_EQ(pts(state.model.vertices),
              (std::vector<Pt>{{10, 10, true}, {50, 10, false}, {50, 50, false}, {10, 50, false}}));
    EXPECT_EQ(snapshots(), 1u);
    EXPECT_FALSE(state.tool.dragging);
}

TEST_F(CanvasInputTest, ClickWithoutMovingLeavesTheDrawingButMarksModified) {
    state.model.vertices = {makeVertex(0, 0, false), makeVertex(5, 5, true)};
    at(30, 30);
    pressLeft(state, none);
    releaseLeft(state, none);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{0, 0, true}, {5, 5, false}}));
    EXPECT_TRUE(state.model.modified);
    EXPECT_EQ(snapshots(), 1u);

    // The same on an empty drawing empties the list again.
    EditorState empty;
    empty.tool.pointer = {30, 30};
    pressLeft(empty, none);
    releaseLeft(empty, none);
    EXPECT_TRUE(empty.model.vertices.empty());
}

TEST_F(CanvasInputTest, RightClickOutsideAStraightLineDragAddsNothing) {
    at(10, 10);
    pressRight(state);
    state.tool.mode = ToolMode::Curve;
    pressLeft(state, none);
    at(40, 40);
    pressRight(state);
    EXPECT_EQ(state.model.vertices.size(), 1u);
}

// --- curves ---------------------------------------------------------------------------------

TEST_F(CanvasInputTest, CurveDragAddsThinnedVerticesAndEndsAtTheRelease) {
    state.tool.mode = ToolMode::Curve;
    at(0, 0);
    pressLeft(state, none);
    for (Point p : {Point{25, 1}, Point{50, 0}, Point{50, 30}}) {
        state.tool.pointer = p;
        movePointer(state, true, none);
    }
    at(55, 35);
    releaseLeft(state, none);
    EXPECT_EQ(pts(state.model.vertices),
              (std::vector<Pt>{{0, 0, true}, {50, 0, false}, {50, 30, false}, {55, 35, false}}));
    EXPECT_EQ(snapshots(), 1u);
}

// --- one snapshot per gesture ---------------------------------------------------------------

TEST_F(CanvasInputTest, ShapesRecordOneSnapshotAndRangeSelectNone) {
    state.random.seed(1);
    state.tool.mode = ToolMode::FilledCircle;
    at(0, 0);
    pressLeft(state, none);
    at(100, 100);
    movePointer(state, true, none);  // shapes do nothing while moving
    EXPECT_TRUE(state.model.vertices.empty());
    releaseLeft(state, none);
    EXPECT_EQ(state.model.vertices.size(), 11u + 8u);
    EXPECT_EQ(snapshots(), 1u);

    state.tool.mode = ToolMode::RangeSelect;
    at(-1, -1);
    pressLeft(state, none);
    at(200, 200);
    releaseLeft(state, none);
    EXPECT_TRUE(state.model.selectionExists);
    EXPECT_EQ(snapshots(), 1u);
}

TEST_F(CanvasInputTest, MoveAndScaleSubModesRecordOnEveryRelease) {
    state.tool.mode = ToolMode::RangeSelect;
    state.model.vertices = {makeVertex(210, 200, false, true)};
    state.model.selectionExists = true;

    state.tool.moveMode = true;
    releaseLeft(state, none);  // no press before it
    EXPECT_EQ(snapshots(), 1u);

    state.tool.moveMode = false;
    state.tool.scaleMode = true;
    at(200, 200);
    pressLeft(state, none);
    EXPECT_EQ(state.tool.scalePivot, (Point{200, 200}));
    at(300, 200);
    movePointer(state, true, none);
    EXPECT_EQ(state.tool.scaleFactor, 2.0f);
    EXPECT_EQ(state.model.vertices[0].x, 210);  // only previewed while dragging
    releaseLeft(state, none);
    EXPECT_EQ(state.model.vertices[0].x, 220);
    EXPECT_EQ(state.tool.scaleFactor, 1.0f);
    EXPECT_EQ(snapshots(), 2u);
    EXPECT_EQ(state.history.current().vertexImages.size(), kVertexImageSize);
    EXPECT_EQ(state.history.current().vertexImages[0], 220);
}

TEST_F(CanvasInputTest, MoveDragFollowsThePointerFromThePress) {
    state.tool.mode = ToolMode::RangeSelect;
    state.tool.moveMode = true;
    state.model.vertices = {makeVertex(100, 100, false, true)};
    at(10, 10);
    pressLeft(state, none);
    at(15, 20);
    movePointer(state, true, none);
    at(25, 20);
    movePointer(state, true, none);
    releaseLeft(state, none);
    EXPECT_EQ(state.model.vertices[0].x, 115);
    EXPECT_EQ(state.model.vertices[0].y, 110);
    EXPECT_TRUE(state.model.modified);
    EXPECT_EQ(snapshots(), 1u);
}

// --- selecting through the dispatch ---------------------------------------------------------

TEST_F(CanvasInputTest, PlainDragReplacesTheSelectionCtrlAddsShiftRemoves) {
    state.tool.mode = ToolMode::RangeSelect;
    state.model.vertices = {makeVertex(10, 10, false), makeVertex(100, 100, true)};
    const auto selectBand = [&](Point from, Point to, KeyModifiers keys) {
        state.tool.pointer = from;
        pressLeft(state, keys);
        state.tool.pointer = to;
        releaseLeft(state, keys);
    };
    const auto selected = [&](std::size_t i) { return state.model.vertices[i].isSelected(); };

    selectBand({0, 0}, {50, 50}, none);
    EXPECT_TRUE(selected(0));
    selectBand({90, 90}, {150, 150}, none);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    selectBand({0, 0}, {50, 50}, KeyModifiers{.ctrl = true});
    EXPECT_TRUE(selected(0));
    EXPECT_TRUE(selected(1));
    selectBand({90, 90}, {150, 150}, KeyModifiers{.shift = true});
    EXPECT_TRUE(selected(0));
    EXPECT_FALSE(selected(1));
    EXPECT_TRUE(state.model.selectionExists);
}

// --- replay and the lost release ------------------------------------------------------------

TEST_F(CanvasInputTest, PressesAndMovesAreIgnoredDuringReplayButReleasesAreNot) {
    state.playback.vtrPlaying = true;
    at(10, 10);
    EXPECT_FALSE(pressLeft(state, none).confinePointer);
    EXPECT_FALSE(state.tool.dragging);
    EXPECT_TRUE(state.model.vertices.empty());

    // A drag begun before the replay started still ends at its release.
    state.playback.vtrPlaying = false;
    pressLeft(state, none);
    state.playback.vtrPlaying = true;
    at(30, 30);
    pressRight(state);
    at(40, 10);
    movePointer(state, false, none);  // ignored: the release is not taken from a move either
    EXPECT_TRUE(state.tool.dragging);
    releaseLeft(state, none);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{10, 10, true}, {40, 10, false}}));
    EXPECT_FALSE(state.tool.dragging);
    EXPECT_EQ(snapshots(), 1u);
}

TEST_F(CanvasInputTest, MoveFindingTheButtonUpEndsTheDragLikeARelease) {
    state.tool.mode = ToolMode::StraightLine;
    at(10, 10);
    pressLeft(state, none);
    at(60, 10);
    const InputOutcome outcome = movePointer(state, false, none);
    EXPECT_TRUE(outcome.releasePointer);
    EXPECT_FALSE(state.tool.dragging);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{10, 10, true}, {60, 10, false}}));
    EXPECT_EQ(snapshots(), 1u);

    // Moves without a drag do nothing, whatever the button.
    movePointer(state, false, none);
    EXPECT_EQ(snapshots(), 1u);
}

TEST_F(CanvasInputTest, SecondPressDuringADragIsIgnored) {
    at(10, 10);
    pressLeft(state, none);
    at(20, 20);
    EXPECT_FALSE(pressLeft(state, none).confinePointer);
    EXPECT_EQ(state.model.vertices.size(), 1u);
}

}  // namespace
}  // namespace rek
