#include "canvas/border_drag.h"

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;
using test::Pt;
using test::pts;

// The editor's side of a border drag, as the canvas widget drives it.
class BorderDragTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{10, 20}, {300, 400}}}));
        editor.samplePointer({0, 0});
        editor.pressLeft({});  // a stroke, so the drawing is modified
        editor.samplePointer({5, 5});
        editor.releaseLeft({});
        editor.selectAll();
        ASSERT_TRUE(editor.model().modified);
        ASSERT_EQ(test::recorded(editor), 1u);
    }

    Editor editor{test::canvasOfSize(700, 500)};
};

TEST_F(BorderDragTest, TopBorderDraggedUpShiftsTheDrawingDownAndGrowsTheHeight) {
    // Steps and an end outside a drag do nothing.
    EXPECT_FALSE(editor.borderDragStep(BorderEdge::Left, {-50, 0, 300, 300}));
    editor.endBorderDrag(300, 300);
    EXPECT_EQ(editor.model().properties.width, 700);
    EXPECT_EQ(test::recorded(editor), 1u);

    editor.beginBorderDrag({400, 300});
    EXPECT_TRUE(editor.borderDragActive());
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_FALSE(editor.model().vertices[0].isSelected());

    EXPECT_TRUE(editor.borderDragStep(BorderEdge::Top, {405, 290, 700, 510}));
    EXPECT_TRUE(editor.borderDragStep(BorderEdge::Top, {405, 270, 700, 530}));
    EXPECT_EQ(editor.model().properties.height, 530) << "each step sets the size";
    // Every vertex moved; x is untouched by a top edge.
    EXPECT_EQ(pts(editor.model().vertices),
              (std::vector<Pt>{{10, 50, true}, {300, 430}, {0, 30, true}, {5, 35}}));

    editor.endBorderDrag(700, 530);
    EXPECT_FALSE(editor.borderDragActive());
    EXPECT_EQ(editor.model().properties.height, 530);
    EXPECT_EQ(test::recorded(editor), 2u);
    EXPECT_TRUE(editor.model().modified) << "a border drag leaves the mark as it was";

    // Steps after the drag move nothing.
    EXPECT_FALSE(editor.borderDragStep(BorderEdge::Top, {405, 200, 700, 530}));
    EXPECT_EQ(editor.model().vertices[0].y, 50);
}

TEST_F(BorderDragTest, ResizeIsRecordedButDoesNotMarkAnUnmodifiedDrawing) {
    editor.replaceDocument(ModelFileContents{std::nullopt, test::strokes({{{1, 1}, {9, 9}}})},
                           "a.rkm", "a.rkm", false);
    ASSERT_FALSE(editor.model().modified);
    const std::size_t entries = editor.historySize();
    editor.beginBorderDrag({0, 0});
    // A right edge changes the size only; the same size again changes nothing.
    EXPECT_TRUE(editor.borderDragStep(BorderEdge::Right, {0, 0, 640, 500}));
    EXPECT_FALSE(editor.borderDragStep(BorderEdge::Right, {0, 0, 640, 500}));
    editor.endBorderDrag(640, 500);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.historySize(), entries + 1);
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{1, 1, true}, {9, 9}}));

    // Undo gives the old size back; the end keeps the size within the canvas limits.
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.model().properties.width, 700);
    editor.beginBorderDrag({0, 0});
    editor.endBorderDrag(900, 650);
    EXPECT_EQ(editor.model().properties.width, 800);
    EXPECT_EQ(editor.model().properties.height, 600);
}

TEST(BorderDragStepTest, CornerEdgesShiftOnTheirLeftAndTopAxes) {
    VertexList list = {makeVertex(10, 20, false)};
    BorderDrag drag({100, 100});
    EXPECT_TRUE(drag.step(list, BorderEdge::TopLeft, {90, 95}));
    EXPECT_EQ(pts(list), (std::vector<Pt>{{20, 25, true}}));
    EXPECT_TRUE(drag.step(list, BorderEdge::BottomLeft, {95, 0}));
    EXPECT_EQ(pts(list), (std::vector<Pt>{{15, 25, true}}));
    EXPECT_FALSE(drag.step(list, BorderEdge::BottomRight, {0, 0}));
    EXPECT_EQ(pts(list), (std::vector<Pt>{{15, 25, true}}));
    // The corner moved on meanwhile: the next step is relative to (0, 0).
    EXPECT_TRUE(drag.step(list, BorderEdge::Top, {7, -3}));
    EXPECT_EQ(pts(list), (std::vector<Pt>{{15, 28, true}}));
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
    VertexList list = {makeVertex(50, 50, false)};

    // At full width the left edge keeps following the pointer: the drawing moves with it.
    const AreaRect start = clampBorderDragRect({100, 100, 790, 500}, BorderEdge::Left);
    BorderDrag drag({start.left, start.top});
    const AreaRect wide = clampBorderDragRect({70, 100, 820, 500}, BorderEdge::Left);
    drag.step(list, BorderEdge::Left, {wide.left, wide.top});
    EXPECT_EQ(list[0].x, 80);

    // At the minimum the edge stops, and so does the drawing, while the pointer goes on.
    const AreaRect narrow = clampBorderDragRect({870, 100, 0, 500}, BorderEdge::Left);
    drag.step(list, BorderEdge::Left, {narrow.left, narrow.top});
    EXPECT_EQ(narrow.width, 10);
    EXPECT_EQ(list[0].x, 80 - (narrow.left - 70));
}

}  // namespace
}  // namespace rek
