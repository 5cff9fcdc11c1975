#include "canvas/shape_tools.h"

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;
using test::seedWhere;

class ShapeToolsTest : public ::testing::Test {
  protected:
    void drag(ToolMode mode, Point from, Point to, std::uint32_t seed) {
        state.tool.mode = mode;
        state.tool.dragStart = from;
        state.tool.pointer = to;
        state.random.seed(seed);
    }

    EditorState state;
};

// --- rectangles -----------------------------------------------------------------------------

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
        EditorState fresh;
        fresh.tool.mode = ToolMode::Rect;
        fresh.tool.dragStart = {10, 10};
        fresh.tool.pointer = {50, 40};
        fresh.random.seed(c.seed);
        EXPECT_FALSE(addRectangle(fresh).outOfMemory);
        EXPECT_EQ(pts(fresh.model.vertices), c.outline) << "seed " << c.seed;
        EXPECT_TRUE(fresh.model.modified);
    }
}

TEST_F(ShapeToolsTest, ShapesTakeExactlyTwoDrawsEvenWhenFilled) {
    // Seed 1 gives 41, 18467, 6334, ...: the next draw after a shape must be the third.
    for (ToolMode mode :
         {ToolMode::Rect, ToolMode::FilledRect, ToolMode::Circle, ToolMode::FilledCircle}) {
        drag(mode, {0, 0}, {100, 60}, 1);
        if (mode == ToolMode::Rect || mode == ToolMode::FilledRect) {
            addRectangle(state);
        } else {
            addCircle(state);
        }
        EXPECT_EQ(state.random.next(), 6334) << static_cast<int>(mode);
    }
}

TEST_F(ShapeToolsTest, FilledRectangleHatchWalksBothEdgePairsThirtyPixelsApart) {
    drag(ToolMode::FilledRect, {0, 0}, {100, 60}, 1);
    addRectangle(state);
    ASSERT_GE(state.model.vertices.size(), 5u);
    const std::vector<Pt> hatch{
        {30, 0, true},   {0, 30, false},   {60, 0, false},  {0, 60, false},   {90, 0, false},
        {30, 60, false}, {100, 20, false}, {60, 60, false}, {100, 50, false}, {90, 60, false}};
    EXPECT_EQ(pts(state.model.vertices, 5), hatch);
}

TEST_F(ShapeToolsTest, FilledRectangleHatchIsTheSameWhicheverWayTheDragRan) {
    drag(ToolMode::FilledRect, {100, 60}, {0, 0}, 1);
    addRectangle(state);
    ASSERT_EQ(state.model.vertices.size(), 15u);
    EXPECT_EQ(pts(state.model.vertices, 5).front(), (Pt{30, 0, true}));
    EXPECT_EQ(pts(state.model.vertices, 5).back(), (Pt{90, 60, false}));
}

TEST_F(ShapeToolsTest, SmallFilledRectanglesGetOneDiagonal) {
    // The outline starts at the drag start, so the diagonal cannot merge into it.
    const std::uint32_t seed = seedWhere([](int a, int) { return a % 4 == 0; });

    drag(ToolMode::FilledRect, {0, 0}, {30, 20}, seed);  // 30 + 20 < 60
    addRectangle(state);
    EXPECT_EQ(pts(state.model.vertices, 5), (std::vector<Pt>{{30, 0, true}, {0, 20, false}}));

    EditorState other;
    other.tool.mode = ToolMode::FilledRect;
    other.tool.dragStart = {10, 10};
    other.tool.pointer = {40, 40};  // 30 + 30 = 60: walked, but the walkers meet at once
    other.random.seed(seed);
    addRectangle(other);
    EXPECT_EQ(pts(other.model.vertices, 5), (std::vector<Pt>{{40, 10, true}, {10, 40, false}}));
}

TEST_F(ShapeToolsTest, FlatFilledRectangleTurnsTheCornersWithTheOvershoot) {
    // 100 x 10: W turns the bottom-left corner 20 pixels along, U leaves at once past the top.
    const std::uint32_t seed = seedWhere([](int a, int) { return a % 4 == 0; });
    drag(ToolMode::FilledRect, {0, 0}, {100, 10}, seed);
    addRectangle(state);
    const std::vector<Pt> hatch{{30, 0, true},   {20, 10, false}, {60, 0, false},
                                {50, 10, false}, {90, 0, false},  {80, 10, false}};
    EXPECT_EQ(pts(state.model.vertices, 5), hatch);
}

TEST_F(ShapeToolsTest, ClickWithoutDragLeavesOnlyALoneStrokeStart) {
    drag(ToolMode::FilledRect, {20, 20}, {20, 20}, 1);
    addRectangle(state);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{20, 20, true}}));

    EditorState circle;
    circle.tool.mode = ToolMode::Circle;
    circle.tool.dragStart = circle.tool.pointer = {20, 20};
    addCircle(circle);
    EXPECT_EQ(pts(circle.model.vertices), (std::vector<Pt>{{20, 20, true}}));
}

// --- circles --------------------------------------------------------------------------------

TEST_F(ShapeToolsTest, CircleOfRadiusFiftyHasTenSegmentsClockwise) {
    drag(ToolMode::Circle, {0, 0}, {100, 100},
         seedWhere([](int a, int b) { return a % 360 == 0 && b % 2 == 1; }));
    addCircle(state);
    // pi as 3.141592: 180 degrees lands at x = 50 - 49, and the full turn one pixel short.
    const std::vector<Pt> outline{{100, 50, true}, {90, 79, false}, {65, 97, false},
                                  {35, 97, false}, {10, 79, false}, {1, 50, false},
                                  {10, 21, false}, {35, 3, false},  {65, 3, false},
                                  {90, 21, false}, {99, 50, false}};
    EXPECT_EQ(pts(state.model.vertices), outline);
}

TEST_F(ShapeToolsTest, CircleRunsCounterclockwiseOnAnEvenSecondDraw) {
    drag(ToolMode::Circle, {0, 0}, {100, 100},
         seedWhere([](int a, int b) { return a % 360 == 0 && b % 2 == 0; }));
    addCircle(state);
    ASSERT_EQ(state.model.vertices.size(), 11u);
    EXPECT_EQ(pts(state.model.vertices)[1], (Pt{90, 21, false}));
    EXPECT_EQ(pts(state.model.vertices)[5], (Pt{1, 50, false}));
}

TEST_F(ShapeToolsTest, SmallCircleStillGetsEightSegments) {
    drag(ToolMode::Circle, {0, 0}, {4, 4}, 1);  // start angle 41, clockwise
    addCircle(state);
    const std::vector<Pt> outline{{3, 3, true},  {2, 3, false}, {1, 3, false},
                                  {1, 2, false}, {1, 1, false}, {2, 1, false},
                                  {3, 1, false}, {3, 2, false}, {3, 3, false}};
    EXPECT_EQ(pts(state.model.vertices), outline);
}

TEST_F(ShapeToolsTest, FilledCircleAddsChordsAcrossTheUpperLeftDiameter) {
    drag(ToolMode::FilledCircle, {0, 0}, {100, 100},
         seedWhere([](int a, int b) { return a % 360 == 0 && b % 2 == 1; }));
    addCircle(state);
    // n = 10, m = 5: chords at 225 +- 36, 72, 108, 144 degrees; the extra first point one turn
    // on equals the first chord's start and is dropped.
    const std::vector<Pt> hatch{{43, 1, true},   {1, 43, false},  {72, 6, false},  {6, 72, false},
                                {94, 28, false}, {28, 94, false}, {99, 57, false}, {57, 99, false}};
    EXPECT_EQ(pts(state.model.vertices, 11), hatch);
}

}  // namespace
}  // namespace rek
