#include "canvas/line_tools.h"

#include <gtest/gtest.h>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;
using test::Pt;
using test::pts;

Model curve(std::initializer_list<Point> points) {
    Model model;
    bool first = true;
    for (Point p : points) {
        model.vertices.push_back(makeVertex(p.x, p.y, !first));
        first = false;
    }
    return model;
}

// --- thinning -------------------------------------------------------------------------------

TEST(ThinCurveTest, NearlyStraightVertexIsRemoved) {
    Model model = curve({{0, 0}, {10, 1}, {20, 0}});  // headings 5 and -5 degrees
    EXPECT_EQ(thinCurve(model), 1u);
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{0, 0, true}, {20, 0, false}}));
}

TEST(ThinCurveTest, CornersAndLongSpansStay) {
    Model corner = curve({{0, 0}, {10, 10}, {20, 0}});  // 45 and -45 degrees
    EXPECT_EQ(thinCurve(corner), 0u);

    Model longSpan = curve({{0, 0}, {50, 1}, {101, 0}});  // P and N 101 pixels apart
    EXPECT_EQ(thinCurve(longSpan), 0u);

    Model exactlyHundred = curve({{0, 0}, {50, 1}, {100, 0}});
    EXPECT_EQ(thinCurve(exactlyHundred), 1u);
}

TEST(ThinCurveTest, HeadingsAreTruncatedAndNotWrappedAround) {
    // 29.7 and 0 degrees truncate to 29 and 0: removed. 30.96 and 0 give 30: kept.
    Model within = curve({{0, 0}, {40, 23}, {80, 23}});
    EXPECT_EQ(thinCurve(within), 1u);
    Model beyond = curve({{0, 0}, {10, 6}, {30, 6}});
    EXPECT_EQ(thinCurve(beyond), 0u);

    // Going left just above and then just below the axis: 178 and -178 degrees, 356 apart.
    Model left = curve({{0, 0}, {-50, 1}, {-100, 0}});
    EXPECT_EQ(thinCurve(left), 0u);
}

TEST(ThinCurveTest, OnlyTheLastThreeVerticesAreLookedAtAndRunsCollapse) {
    // The straight vertex (10, 1) near the head is left alone: only the tail is thinned. After
    // (50, 41) goes, its successor (60, 42) is looked at next and goes as well.
    Model model = curve({{0, 0}, {10, 1}, {20, 0}, {40, 40}, {50, 41}, {60, 42}, {70, 43}});
    EXPECT_EQ(thinCurve(model), 2u);
    EXPECT_EQ(pts(model.vertices),
              (std::vector<Pt>{
                  {0, 0, true}, {10, 1, false}, {20, 0, false}, {40, 40, false}, {70, 43, false}}));
}

TEST(ThinCurveTest, StrokeStartsAndShortListsAreLeftAlone) {
    Model two = curve({{0, 0}, {10, 0}});
    EXPECT_EQ(thinCurve(two), 0u);

    // The next vertex begins a new stroke: V ends its stroke and stays.
    Model model = curve({{0, 0}, {10, 1}});
    model.vertices.push_back(makeVertex(20, 0, false));
    EXPECT_EQ(thinCurve(model), 0u);

    // A Joined head (possible in a loaded file) has no previous vertex to compare with.
    Model joinedHead;
    joinedHead.vertices = {makeVertex(0, 0, true), makeVertex(10, 1, true),
                           makeVertex(20, 0, true)};
    EXPECT_EQ(thinCurve(joinedHead), 1u);
    EXPECT_EQ(joinedHead.vertices.size(), 2u);
}

// --- the curve step -------------------------------------------------------------------------

TEST(CurveStepTest, AddsAVertexEverySixthMoveOrWhenFarFromTheLast) {
    EditorState state;
    state.model.vertices = {makeVertex(0, 0, false)};
    state.tool.dragStart = {0, 0};
    state.tool.curveMoveCount = 0;

    // Slow moves within 20 pixels: nothing for five moves, a vertex at the sixth.
    const Point slow[] = {{1, 3}, {2, 6}, {3, 9}, {4, 12}, {5, 15}, {6, 18}};
    for (int i = 0; i < 5; ++i) {
        state.tool.pointer = slow[i];
        curveStep(state);
        EXPECT_EQ(state.model.vertices.size(), 1u) << "move " << i + 1;
    }
    state.tool.pointer = slow[5];
    curveStep(state);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{0, 0, true}, {6, 18, false}}));
    EXPECT_EQ(state.tool.dragStart, (Point{6, 18}));
    EXPECT_EQ(state.tool.curveMoveCount, 0);

    // Exactly 20 pixels away is not far enough; 21 is.
    state.tool.pointer = {26, 18};
    curveStep(state);
    EXPECT_EQ(state.model.vertices.size(), 2u);
    state.tool.pointer = {27, 18};
    curveStep(state);
    EXPECT_EQ(state.model.vertices.size(), 3u);
    EXPECT_EQ(state.tool.curveMoveCount, 0);
}

TEST(CurveStepTest, EachAddedVertexThinsTheTail) {
    EditorState state;
    state.model.vertices = {makeVertex(0, 0, false)};
    state.tool.dragStart = {0, 0};
    for (Point p : {Point{25, 1}, Point{50, 0}}) {
        state.tool.pointer = p;
        curveStep(state);
    }
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{0, 0, true}, {50, 0, false}}));
}

}  // namespace
}  // namespace rek
