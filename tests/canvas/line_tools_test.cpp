#include <gtest/gtest.h>

#include "canvas/curve_tool.h"
#include "canvas/straight_line_tool.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;
using test::Pt;
using test::pts;

VertexList curve(std::initializer_list<Point> points) {
    VertexList list;
    test::addStroke(list, points);
    return list;
}

// The middle of the last three goes when the headings into and out of it, truncated to whole
// degrees, differ by less than 30 and its neighbours are at most 100 pixels apart.
TEST(ThinCurveTest, NearlyStraightShortTailsLoseTheirMiddleVertex) {
    const struct {
        std::initializer_list<Point> points;
        std::size_t removed;
    } cases[] = {
        {{{0, 0}, {10, 1}, {20, 0}}, 1},     // 5 and -5 degrees
        {{{0, 0}, {10, 10}, {20, 0}}, 0},    // a corner
        {{{0, 0}, {50, 1}, {100, 0}}, 1},    // neighbours exactly 100 apart
        {{{0, 0}, {50, 1}, {101, 0}}, 0},    // 101 apart
        {{{0, 0}, {40, 23}, {80, 23}}, 1},   // 29.7 truncates to 29
        {{{0, 0}, {10, 6}, {30, 6}}, 0},     // 30.96 truncates to 30
        {{{0, 0}, {-50, 1}, {-100, 0}}, 0},  // 178 and -178: not wrapped around
        {{{0, 0}, {10, 0}}, 0},
    };
    int index = 0;
    for (const auto& c : cases) {
        VertexList list = curve(c.points);
        EXPECT_EQ(thinCurve(list), c.removed) << "case " << index++;
    }
    VertexList list = curve({{0, 0}, {10, 1}, {20, 0}});
    thinCurve(list);
    EXPECT_EQ(pts(list), (std::vector<Pt>{{0, 0, true}, {20, 0, false}}));
}

TEST(ThinCurveTest, OnlyTheLastThreeVerticesAreLookedAtAndRunsCollapse) {
    // The straight vertex (10, 1) near the head is left alone: only the tail is thinned. After
    // (50, 41) goes, its successor (60, 42) is looked at next and goes as well.
    VertexList list = curve({{0, 0}, {10, 1}, {20, 0}, {40, 40}, {50, 41}, {60, 42}, {70, 43}});
    EXPECT_EQ(thinCurve(list), 2u);
    EXPECT_EQ(pts(list),
              (std::vector<Pt>{
                  {0, 0, true}, {10, 1, false}, {20, 0, false}, {40, 40, false}, {70, 43, false}}));
}

TEST(ThinCurveTest, StrokeStartsAndShortListsAreLeftAlone) {
    // The next vertex begins a new stroke: V ends its stroke and stays.
    VertexList list = curve({{0, 0}, {10, 1}});
    list.push_back(makeVertex(20, 0, false));
    EXPECT_EQ(thinCurve(list), 0u);

    // A Joined head (possible in a loaded file) has no previous vertex to compare with.
    VertexList joinedHead = {makeVertex(0, 0, true), makeVertex(10, 1, true),
                             makeVertex(20, 0, true)};
    EXPECT_EQ(thinCurve(joinedHead), 1u);
    EXPECT_EQ(pts(joinedHead), (std::vector<Pt>{{0, 0, false}, {20, 0, false}}));
}

class CurveToolTest : public ::testing::Test {
  protected:
    void press(Point p) {
        ToolContext context = bench.at(p);
        tool.press(context);
    }
    void drag(Point p) {
        ToolContext context = bench.at(p);
        tool.drag(context);
    }
    std::size_t count() const { return bench.model.vertices.size(); }

    CurveTool tool;
    test::ToolBench bench;
};

TEST_F(CurveToolTest, AddsAVertexEverySixthMoveOrWhenFarFromTheLast) {
    press({0, 0});
    // Slow moves within 20 pixels: nothing for five moves, a vertex at the sixth.
    const Point slow[] = {{1, 3}, {2, 6}, {3, 9}, {4, 12}, {5, 15}, {6, 18}};
    for (int i = 0; i < 5; ++i) {
        drag(slow[i]);
        EXPECT_EQ(count(), 1u) << "move " << i + 1;
    }
    drag(slow[5]);
    EXPECT_EQ(pts(bench.model.vertices), (std::vector<Pt>{{0, 0, true}, {6, 18, false}}));
    EXPECT_EQ(bench.dragStart, (Point{6, 18}));

    // Exactly 20 pixels away is not far enough; 21 is.
    drag({26, 18});
    EXPECT_EQ(count(), 2u);
    drag({27, 18});
    EXPECT_EQ(count(), 3u);

    // Either way of adding starts the count of moves afresh.
    for (int i = 1; i <= 5; ++i)
        drag({27, 18 + i});
    EXPECT_EQ(count(), 3u);
    drag({27, 24});
    EXPECT_EQ(count(), 4u);
}

TEST(StraightLineToolTest, RightClickAddsAVertexOnlyDuringADrag) {
    StraightLineTool tool;
    test::ToolBench bench;
    ToolContext press = bench.at({10, 10});
    tool.press(press);
    ToolContext idle = bench.at({30, 30});
    tool.pressRight(idle, false);
    ToolContext dragging = bench.at({50, 10});
    tool.pressRight(dragging, true);
    EXPECT_FALSE(dragging.snapshotWanted);
    EXPECT_EQ(pts(bench.model.vertices), (std::vector<Pt>{{10, 10, true}, {50, 10, false}}));

    // The rubber band runs from the last vertex to the pointer.
    const RubberBand band = tool.rubberBand(bench.model, {0, 0}, {70, 40});
    EXPECT_EQ(band.shape, RubberBand::Shape::Line);
    EXPECT_EQ(band.from, (Point{50, 10}));
    EXPECT_EQ(band.to, (Point{70, 40}));
    EXPECT_EQ(tool.rubberBand(Model{}, {0, 0}, {70, 40}).shape, RubberBand::Shape::None);
}

}  // namespace
}  // namespace rek
