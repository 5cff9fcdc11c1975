#include <gtest/gtest.h>

#include "canvas/shape_tools.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;

class SelectionTransformTest : public ::testing::Test {
  protected:
    void band(Point from, Point to) {
        state.tool.mode = ToolMode::RangeSelect;
        state.tool.dragStart = from;
        state.tool.pointer = to;
    }
    bool selected(std::size_t i) const { return state.model.vertices.at(i).isSelected(); }

    EditorState state;
};

// --- selecting by rectangle -----------------------------------------------------------------

TEST_F(SelectionTransformTest, BandIncludesItsTopLeftEdgesButNotItsBottomRight) {
    state.model.vertices = {makeVertex(10, 10, false), makeVertex(19, 19, true),
                            makeVertex(20, 15, true), makeVertex(15, 20, true),
                            makeVertex(9, 15, true)};
    band({20, 20}, {10, 10});  // dragged up and left: the corners are sorted
    selectInRectangle(state, false);
    EXPECT_TRUE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_FALSE(selected(2));
    EXPECT_FALSE(selected(3));
    EXPECT_FALSE(selected(4));
    EXPECT_TRUE(state.model.selectionExists);
}

TEST_F(SelectionTransformTest, ZeroWidthBandSelectsNothing) {
    state.model.vertices = {makeVertex(10, 10, false), makeVertex(10, 15, true)};
    band({10, 10}, {10, 20});
    selectInRectangle(state, false);
    EXPECT_FALSE(selected(0));
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(state.model.selectionExists);
}

TEST_F(SelectionTransformTest, ShiftDeselectsInsideAndTheFlagCountsWhatRemains) {
    state.model.vertices = {makeVertex(10, 10, false, true), makeVertex(100, 100, true, true)};
    state.model.selectionExists = true;
    band({0, 0}, {50, 50});
    selectInRectangle(state, true);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_TRUE(state.model.selectionExists);  // the vertex outside the band stays selected

    band({50, 50}, {150, 150});
    selectInRectangle(state, true);
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(state.model.selectionExists);
}

// --- move -----------------------------------------------------------------------------------

TEST_F(SelectionTransformTest, MoveShiftsOnlySelectedVerticesAndStopsAtTheLimit) {
    state.model.vertices = {makeVertex(29990, 5, false, true), makeVertex(100, 100, true, false)};
    state.tool.dragStart = {0, 0};
    state.tool.pointer = {50, -7};
    moveDragStep(state);
    EXPECT_EQ(state.model.vertices[0].x, 30000);
    EXPECT_EQ(state.model.vertices[0].y, -2);
    EXPECT_EQ(state.model.vertices[1].x, 100);
    EXPECT_EQ(state.tool.dragStart, (Point{50, -7}));  // the next step is relative to here
    EXPECT_TRUE(state.model.modified);

    state.tool.pointer = {60, -7};
    moveDragStep(state);
    EXPECT_EQ(state.model.vertices[0].x, 30000);
}

TEST_F(SelectionTransformTest, TranslateLeavesModifiedAloneAndMovesAllWhileResizing) {
    state.model.vertices = {makeVertex(0, 0, false, true), makeVertex(5, 5, true, false)};
    translateVertices(state, -40000, 3);
    EXPECT_EQ(state.model.vertices[0].x, -30000);
    EXPECT_EQ(state.model.vertices[0].y, 3);
    EXPECT_EQ(state.model.vertices[1].x, 5);
    EXPECT_FALSE(state.model.modified);

    state.tool.resizingCanvas = true;
    translateVertices(state, 1, 1);
    EXPECT_EQ(state.model.vertices[1].x, 6);
    EXPECT_EQ(state.model.vertices[0].x, -29999);
}

// --- scale ----------------------------------------------------------------------------------

TEST_F(SelectionTransformTest, ScaleFactorFollowsHorizontalDistanceFromThePivot) {
    state.tool.scalePivot = {200, 200};
    const auto factorAt = [&](std::int32_t x, std::int32_t y) {
        state.tool.pointer = {x, y};
        scaleDragStep(state);
        return state.tool.scaleFactor;
    };
    EXPECT_EQ(factorAt(300, 0), 2.0f);  // vertical distance does not count
    EXPECT_EQ(factorAt(150, 200), 0.5f);
    const float nearlyZero = factorAt(100, 200);
    EXPECT_GT(nearlyZero, 0.0f);
    EXPECT_LT(nearlyZero, 1e-6f);
    EXPECT_EQ(factorAt(50, 200), 0.0f);  // would be -0.5
}

TEST_F(SelectionTransformTest, ScaleStepMarksModifiedOnlyWhenTheFactorIsNotOne) {
    state.tool.scalePivot = {200, 200};
    state.tool.pointer = {200, 250};
    scaleDragStep(state);
    EXPECT_EQ(state.tool.scaleFactor, 1.0f);
    EXPECT_FALSE(state.model.modified);

    state.tool.pointer = {0, 200};
    scaleDragStep(state);
    EXPECT_TRUE(state.model.modified);
}

TEST_F(SelectionTransformTest, ApplyScaleMovesSelectedVerticesAndResetsTheFactor) {
    state.model.vertices = {makeVertex(210, 200, false, true), makeVertex(220, 200, true, true),
                            makeVertex(210, 200, true, false)};
    state.tool.scalePivot = {200, 200};
    state.tool.scaleFactor = 2.0f;
    applyScale(state);
    EXPECT_EQ((Point{state.model.vertices[0].x, state.model.vertices[0].y}), (Point{220, 200}));
    EXPECT_EQ(state.model.vertices[1].x, 240);
    EXPECT_EQ(state.model.vertices[2].x, 210);  // not selected
    EXPECT_EQ(state.tool.scaleFactor, 1.0f);

    state.tool.scaleFactor = 0.5f;
    applyScale(state);
    EXPECT_EQ(state.model.vertices[1].x, 220);
}

TEST_F(SelectionTransformTest, FactorZeroPutsEverySelectedVertexOnThePivot) {
    state.model.vertices = {makeVertex(250, 260, false, true), makeVertex(-30, 7, true, true)};
    state.tool.scalePivot = {200, 200};
    state.tool.pointer = {50, 200};
    scaleDragStep(state);
    applyScale(state);
    for (const Vertex& v : state.model.vertices) {
        EXPECT_EQ((Point{v.x, v.y}), (Point{200, 200}));
    }
}

TEST_F(SelectionTransformTest, ScaledPositionsAreClampedToTheLimit) {
    state.model.vertices = {makeVertex(20000, -20000, false, true)};
    state.tool.scalePivot = {0, 0};
    state.tool.scaleFactor = 3.0f;
    applyScale(state);
    EXPECT_EQ(state.model.vertices[0].x, 30000);
    EXPECT_EQ(state.model.vertices[0].y, -30000);
}

TEST_F(SelectionTransformTest, FactorOneLeavesEveryVertexExactlyWhereItWas) {
    // Off-axis points are where a polar round trip could truncate a pixel away.
    VertexList list;
    for (int i = 0; i < 200; ++i) {
        list.push_back(makeVertex(3 + 7 * i, -11 + 13 * (i % 17), i > 0, true));
    }
    state.model.vertices = list;
    state.tool.scalePivot = {100, 100};
    state.tool.scaleFactor = 1.0f;
    applyScale(state);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(state.model.vertices[i].x, list[i].x);
        EXPECT_EQ(state.model.vertices[i].y, list[i].y);
    }
}

}  // namespace
}  // namespace rek
