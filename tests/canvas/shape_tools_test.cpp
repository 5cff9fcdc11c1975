#include <gtest/gtest.h>

#include "canvas/circle_tool.h"
#include "canvas/rectangle_tool.h"
#include "canvas/tool_registry.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;
using test::seedWhere;

class ShapeToolsTest : public ::testing::Test {
  protected:
    // The shape of a drag from `from` to `to`, with the generator seeded first.
    std::vector<Pt> rectangle(Point from, Point to, std::uint32_t seed, bool filled,
                              std::size_t skip = 0) {
        return shape(from, to, seed, skip, [&](ToolContext& c) { appendRectangle(c, filled); });
    }
    std::vector<Pt> circle(Point from, Point to, std::uint32_t seed, bool filled,
                           std::size_t skip = 0) {
        return shape(from, to, seed, skip, [&](ToolContext& c) { appendCircle(c, filled); });
    }

    template <typename Append>
    std::vector<Pt> shape(Point from, Point to, std::uint32_t seed, std::size_t skip,
                          Append append) {
        bench = test::ToolBench{};
        bench.dragStart = from;
        bench.random.seed(seed);
        ToolContext context = bench.at(to);
        append(context);
        EXPECT_FALSE(context.outOfMemory);
        return pts(bench.model.vertices, skip);
    }

    test::ToolBench bench;
};

TEST_F(ShapeToolsTest, RectangleStartCornerAndDirectionFollowTheTwoDraws) {
    struct Case {
        std::uint32_t seed;
        std::vector<Pt> outline;
    };
    const Case cases[] = {
        {seedWhere([](int a, int b) { return a % 4 == 0 && b % 2 == 1; }),
         {{10, 10, true}, {50, 10, false}, {50, 40, false}, {10, 40, false}, {10, 10, false}}},
        {seedWhere([](int a, int b) { return a % 4 == 1 && b % 2 == 1; }),
         {{50, 10, true}, {50, 40, false}, {10, 40, false}, {10, 10, false}, {50, 10, false}}},
        {seedWhere([](int a, int b) { return a % 4 == 0 && b % 2 == 0; }),
         {{10, 10, true}, {10, 40, false}, {50, 40, false}, {50, 10, false}, {10, 10, false}}},
        {seedWhere([](int a, int b) { return a % 4 == 3 && b % 2 == 0; }),
         {{10, 40, true}, {50, 40, false}, {50, 10, false}, {10, 10, false}, {10, 40, false}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rectangle({10, 10}, {50, 40}, c.seed, false), c.outline) << "seed " << c.seed;
        EXPECT_TRUE(bench.model.modified);
    }
}

TEST_F(ShapeToolsTest, EachShapeToolTakesExactlyTwoDrawsAndItsOwnShape) {
    // Seed 1 gives 41, 18467, 6334, ...: the next draw after a shape must be the third. The
    // outline of (0, 0)-(100, 60) has 5 vertices as a rectangle and 9 as an ellipse; the filled
    // tools add their hatch stroke.
    const std::pair<ToolMode, std::size_t> tools[] = {{ToolMode::Rect, 5},
                                                      {ToolMode::FilledRect, 15},
                                                      {ToolMode::Circle, 9},
                                                      {ToolMode::FilledCircle, 9 + 6}};
    for (const auto& [mode, vertices] : tools) {
        SCOPED_TRACE(static_cast<int>(mode));
        const std::unique_ptr<Tool> tool = makeTool(mode);
        test::ToolBench fresh;
        ToolContext press = fresh.at({0, 0});
        tool->press(press);
        EXPECT_TRUE(fresh.model.vertices.empty()) << "shapes appear at the release";
        ToolContext release = fresh.at({100, 60});
        tool->release(release, true);
        EXPECT_EQ(fresh.model.vertices.size(), vertices);
        EXPECT_TRUE(release.snapshotWanted);
        EXPECT_EQ(fresh.random.next(), 6334);

        // A release without a drag before it (the press came during a replay) adds nothing.
        test::ToolBench idle;
        ToolContext lone = idle.at({100, 60});
        tool->release(lone, false);
        EXPECT_TRUE(idle.model.vertices.empty());
        EXPECT_FALSE(lone.snapshotWanted);
    }
}

// The hatch after the outline: two walkers go round the edges from the top-left corner, 30
// pixels a step, whichever way the drag ran; small rectangles get one diagonal.
TEST_F(ShapeToolsTest, FilledRectangleHatchWalksTheEdgesThirtyPixelsApart) {
    const std::vector<Pt> hatch{
        {30, 0, true},   {0, 30, false},   {60, 0, false},  {0, 60, false},   {90, 0, false},
        {30, 60, false}, {100, 20, false}, {60, 60, false}, {100, 50, false}, {90, 60, false}};
    EXPECT_EQ(rectangle({0, 0}, {100, 60}, 1, true, 5), hatch);
    EXPECT_EQ(rectangle({100, 60}, {0, 0}, 1, true, 5), hatch);

    const std::uint32_t seed = seedWhere([](int a, int) { return a % 4 == 0; });
    EXPECT_EQ(rectangle({0, 0}, {30, 20}, seed, true, 5),  // 30 + 20 < 60
              (std::vector<Pt>{{30, 0, true}, {0, 20, false}}));
    // 30 + 30 = 60: walked, but the walkers meet at once.
    EXPECT_EQ(rectangle({10, 10}, {40, 40}, seed, true, 5),
              (std::vector<Pt>{{40, 10, true}, {10, 40, false}}));
    // 100 x 10: W turns the bottom-left corner 20 pixels along, U leaves at once past the top.
    EXPECT_EQ(rectangle({0, 0}, {100, 10}, seed, true, 5), (std::vector<Pt>{{30, 0, true},
                                                                            {20, 10, false},
                                                                            {60, 0, false},
                                                                            {50, 10, false},
                                                                            {90, 0, false},
                                                                            {80, 10, false}}));
}

TEST_F(ShapeToolsTest, ClickWithoutDragLeavesOnlyALoneStrokeStart) {
    EXPECT_EQ(rectangle({20, 20}, {20, 20}, 1, true), (std::vector<Pt>{{20, 20, true}}));
    EXPECT_EQ(circle({20, 20}, {20, 20}, 1, false), (std::vector<Pt>{{20, 20, true}}));
}

TEST_F(ShapeToolsTest, CircleOfRadiusFiftyHasTenSegmentsClockwise) {
    // pi as 3.141592: 180 degrees lands at x = 50 - 49, and the full turn one pixel short.
    const std::vector<Pt> outline{{100, 50, true}, {90, 79, false}, {65, 97, false},
                                  {35, 97, false}, {10, 79, false}, {1, 50, false},
                                  {10, 21, false}, {35, 3, false},  {65, 3, false},
                                  {90, 21, false}, {99, 50, false}};
    EXPECT_EQ(circle({0, 0}, {100, 100},
                     seedWhere([](int a, int b) { return a % 360 == 0 && b % 2 == 1; }), false),
              outline);
}

TEST_F(ShapeToolsTest, FilledCircleAddsChordsAcrossTheUpperLeftDiameter) {
    // n = 10, m = 5: chords at 225 +- 36, 72, 108, 144 degrees; the extra first point one turn
    // on equals the first chord's start and is dropped.
    const std::vector<Pt> hatch{{43, 1, true},   {1, 43, false},  {72, 6, false},  {6, 72, false},
                                {94, 28, false}, {28, 94, false}, {99, 57, false}, {57, 99, false}};
    EXPECT_EQ(circle({0, 0}, {100, 100},
                     seedWhere([](int a, int b) { return a % 360 == 0 && b % 2 == 1; }), true, 11),
              hatch);
}

}  // namespace
}  // namespace rek
