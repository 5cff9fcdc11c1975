#include "canvas/border_drag.h"

#include <gtest/gtest.h>

#include "canvas/shape_tools.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;

class BorderDragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.model.properties.width = 700;
        state.model.properties.height = 500;
        state.model.vertices = {makeVertex(10, 20, false, true), makeVertex(300, 400, true)};
        state.model.selectionExists = true;
        state.tool.mode = ToolMode::RangeSelect;
    }

    EditorState state;
};

TEST_F(BorderDragTest, TopBorderDraggedUpShiftsTheDrawingDownAndGrowsTheHeight) {
    beginBorderDrag(state, {400, 300});
    EXPECT_TRUE(state.tool.resizingCanvas);
    EXPECT_FALSE(state.model.selectionExists);
    EXPECT_FALSE(state.model.vertices[0].isSelected());

    EXPECT_TRUE(borderDragStep(state, BorderEdge::Top, {405, 290}).drawFrame);
    EXPECT_TRUE(borderDragStep(state, BorderEdge::Top, {405, 270}).drawFrame);
    // Every vertex moved, the unselected one too; x is untouched by a top edge.
    EXPECT_EQ(state.model.vertices[0].y, 50);
    EXPECT_EQ(state.model.vertices[1].y, 430);
    EXPECT_EQ(state.model.vertices[0].x, 10);

    endBorderDrag(state, 700, 530);
    EXPECT_EQ(state.model.properties.height, 530);
    EXPECT_FALSE(state.tool.resizingCanvas);
    EXPECT_FALSE(state.model.modified);
    EXPECT_EQ(state.history.size(), 1u);

    // After the drag, translateVertices is back to the selection (none).
    translateVertices(state, 5, 5);
    EXPECT_EQ(state.model.vertices[0].y, 50);
}

TEST_F(BorderDragTest, CornerEdgesShiftOnTheirLeftAndTopAxes) {
    beginBorderDrag(state, {100, 100});
    borderDragStep(state, BorderEdge::TopLeft, {90, 95});
    EXPECT_EQ(state.model.vertices[0].x, 20);
    EXPECT_EQ(state.model.vertices[0].y, 25);
    borderDragStep(state, BorderEdge::BottomLeft, {95, 0});
    EXPECT_EQ(state.model.vertices[0].x, 15);
    EXPECT_EQ(state.model.vertices[0].y, 25);
    EXPECT_FALSE(borderDragStep(state, BorderEdge::BottomRight, {0, 0}).drawFrame);
    EXPECT_EQ(state.model.vertices[0].x, 15);
}

TEST_F(BorderDragTest, StepsAndEndOutsideADragDoNothing) {
    EXPECT_FALSE(borderDragStep(state, BorderEdge::Left, {-50, 0}).drawFrame);
    EXPECT_EQ(state.model.vertices[0].x, 10);  // the selected vertex stays put
    endBorderDrag(state, 300, 300);
    EXPECT_EQ(state.model.properties.width, 700);
    EXPECT_EQ(state.history.size(), 0u);
}

TEST_F(BorderDragTest, EndKeepsTheSizeWithinTheCanvasLimits) {
    beginBorderDrag(state, {0, 0});
    endBorderDrag(state, 900, 650);
    EXPECT_EQ(state.model.properties.width, 800);
    EXPECT_EQ(state.model.properties.height, 600);
}

TEST(BorderDragRectTest, MinimumHoldsTheDraggedEdgeAndMaximumMovesTheFarEdge) {
    // Left edge past 800 wide: the canvas keeps its left edge at the pointer, the right gives.
    EXPECT_EQ(clampBorderDragRect({100, 50, 850, 400}, BorderEdge::Left),
              (AreaRect{100, 50, 800, 400}));
    // Right edge past the limit: held back, the left edge stays.
    EXPECT_EQ(clampBorderDragRect({100, 50, 850, 400}, BorderEdge::Right),
              (AreaRect{100, 50, 800, 400}));
    // Top-left corner below the minimum on both axes: bottom-right stays at (110, 58).
    EXPECT_EQ(clampBorderDragRect({105, 55, 5, 3}, BorderEdge::TopLeft),
              (AreaRect{100, 48, 10, 10}));
    // Bottom edge past 600: the top stays.
    EXPECT_EQ(clampBorderDragRect({0, -20, 300, 640}, BorderEdge::Bottom),
              (AreaRect{0, -20, 300, 600}));
    EXPECT_EQ(clampBorderDragRect({0, -20, 300, 640}, BorderEdge::TopRight),
              (AreaRect{0, -20, 300, 600}));
    // Within the limits nothing changes.
    EXPECT_EQ(clampBorderDragRect({1, 2, 10, 600}, BorderEdge::BottomLeft),
              (AreaRect{1, 2, 10, 600}));
}

TEST(BorderDragRectTest, DrawingFollowsTheEdgeAtBothLimits) {
    EditorState state;
    state.model.vertices = {makeVertex(50, 50, false)};

    // At full width the left edge keeps following the pointer: the drawing moves with it.
    const AreaRect start = clampBorderDragRect({100, 100, 790, 500}, BorderEdge::Left);
    beginBorderDrag(state, {start.left, start.top});
    const AreaRect wide = clampBorderDragRect({70, 100, 820, 500}, BorderEdge::Left);
    borderDragStep(state, BorderEdge::Left, {wide.left, wide.top});
    EXPECT_EQ(state.model.vertices[0].x, 80);

    // At the minimum the edge stops, and so does the drawing, while the pointer goes on.
    const AreaRect narrow = clampBorderDragRect({870, 100, 0, 500}, BorderEdge::Left);
    borderDragStep(state, BorderEdge::Left, {narrow.left, narrow.top});
    EXPECT_EQ(narrow.width, 10);
    EXPECT_EQ(state.model.vertices[0].x, 80 - (narrow.left - 70));
}

}  // namespace
}  // namespace rek
