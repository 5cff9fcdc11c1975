#include <gtest/gtest.h>

#include "canvas/move_gesture.h"
#include "canvas/range_select_tool.h"
#include "canvas/scale_gesture.h"
#include "canvas/vertex_moves.h"
#include "canvas_test_support.h"

namespace rek {
namespace {

using test::makeVertex;

class SelectionTransformTest : public ::testing::Test {
  protected:
    bool selected(std::size_t i) const { return bench.model.vertices.at(i).isSelected(); }
    Point at(std::size_t i) const {
        return Point{bench.model.vertices.at(i).x, bench.model.vertices.at(i).y};
    }

    // One event of a gesture at the pointer; returns whether it asked for a snapshot.
    template <typename Hook>
    bool step(Point pointer, Hook hook) {
        ToolContext context = bench.at(pointer);
        hook(context);
        return context.snapshotWanted;
    }

    test::ToolBench bench;
    VertexList& vertices = bench.model.vertices;
};

TEST_F(SelectionTransformTest, BandIncludesItsTopLeftEdgesAndShiftDeselects) {
    vertices = {makeVertex(10, 10, false), makeVertex(19, 19, true), makeVertex(20, 15, true),
                makeVertex(15, 20, true), makeVertex(9, 15, true)};
    selectInRectangle(bench.model, {20, 20}, {10, 10}, false);  // dragged up and left
    EXPECT_TRUE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_FALSE(selected(2));
    EXPECT_FALSE(selected(3));
    EXPECT_FALSE(selected(4));
    EXPECT_TRUE(bench.model.selectionExists);

    vertices = {makeVertex(10, 10, false), makeVertex(10, 15, true)};
    bench.model.selectionExists = false;
    selectInRectangle(bench.model, {10, 10}, {10, 20}, false);  // zero width: nothing
    EXPECT_FALSE(selected(0));
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(bench.model.selectionExists);

    // Shift deselects inside, and the flag counts what remains.
    vertices = {makeVertex(10, 10, false, true), makeVertex(100, 100, true, true)};
    bench.model.selectionExists = true;
    selectInRectangle(bench.model, {0, 0}, {50, 50}, true);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_TRUE(bench.model.selectionExists);  // the vertex outside the band stays selected

    selectInRectangle(bench.model, {50, 50}, {150, 150}, true);
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(bench.model.selectionExists);
}

TEST_F(SelectionTransformTest, RangeSelectPressStartsAnewUnlessCtrlOrShiftIsHeld) {
    RangeSelectTool tool;
    vertices = {makeVertex(10, 10, false, true)};
    bench.model.selectionExists = true;
    for (const KeyModifiers keys : {KeyModifiers{.ctrl = true}, KeyModifiers{.shift = true}}) {
        ToolContext press = bench.at({40, 40}, keys);
        tool.press(press);
        EXPECT_TRUE(selected(0));
        EXPECT_EQ(bench.dragStart, (Point{40, 40}));
    }
    ToolContext plain = bench.at({50, 50});
    tool.press(plain);
    EXPECT_FALSE(selected(0));
    EXPECT_FALSE(bench.model.selectionExists);

    // Selecting changes no vertex: the release asks for no snapshot.
    ToolContext release = bench.at({0, 0});
    tool.release(release, true);
    EXPECT_TRUE(selected(0));
    EXPECT_FALSE(release.snapshotWanted);
}

TEST_F(SelectionTransformTest, MoveShiftsOnlySelectedVerticesAndStopsAtTheLimit) {
    MoveGesture move;
    vertices = {makeVertex(29990, 5, false, true), makeVertex(100, 100, true, false)};
    step({0, 0}, [&](ToolContext& c) { move.press(c); });
    step({50, -7}, [&](ToolContext& c) { move.drag(c); });
    EXPECT_EQ(at(0), (Point{30000, -2}));
    EXPECT_EQ(at(1), (Point{100, 100}));
    EXPECT_EQ(bench.dragStart, (Point{50, -7}));  // the next step is relative to here
    EXPECT_TRUE(bench.model.modified);

    step({60, -7}, [&](ToolContext& c) { move.drag(c); });
    EXPECT_EQ(at(0).x, 30000);
    // Every release records one, with or without a drag before it.
    EXPECT_TRUE(step({60, -7}, [&](ToolContext& c) { move.release(c, true); }));
    EXPECT_TRUE(step({60, -7}, [&](ToolContext& c) { move.release(c, false); }));
}

// The factor is 1 + a hundredth per pixel right of the pivot, never below 0; a drag marks the
// drawing modified only once the factor is not 1.
TEST_F(SelectionTransformTest, ScaleFactorFollowsHorizontalDistanceFromThePivot) {
    ScaleGesture scale;
    step({200, 200}, [&](ToolContext& c) { scale.press(c); });
    const auto factorAt = [&](std::int32_t x, std::int32_t y) {
        step({x, y}, [&](ToolContext& c) { scale.drag(c); });
        return scale.factor();
    };
    EXPECT_EQ(factorAt(200, 250), 1.0f);
    EXPECT_FALSE(bench.model.modified);
    EXPECT_EQ(factorAt(300, 0), 2.0f);  // vertical distance does not count
    EXPECT_TRUE(bench.model.modified);
    EXPECT_EQ(factorAt(150, 200), 0.5f);
    const float nearlyZero = factorAt(100, 200);
    EXPECT_GT(nearlyZero, 0.0f);
    EXPECT_LT(nearlyZero, 1e-6f);
    EXPECT_EQ(factorAt(50, 200), 0.0f);  // would be -0.5
    EXPECT_EQ(scaleFactorForDistance(INT32_MIN), 0.0f);
    EXPECT_EQ(scale.scalePreview()->pivot, (Point{200, 200}));

    // Scaled positions are clamped to the limit.
    vertices = {makeVertex(20000, -20000, false, true)};
    scaleSelectedVertices(vertices, {0, 0}, 3.0f);
    EXPECT_EQ(at(0), (Point{30000, -30000}));
}

TEST_F(SelectionTransformTest, ClickInScaleModeLeavesEveryVertexExactlyWhereItWas) {
    // Off-axis points are where a polar round trip could truncate a pixel away.
    ScaleGesture scale;
    for (int i = 0; i < 200; ++i)
        vertices.push_back(makeVertex(3 + 7 * i, -11 + 13 * (i % 17), i > 0, true));
    const VertexList before = vertices;
    step({100, 100}, [&](ToolContext& c) { scale.press(c); });
    EXPECT_TRUE(step({100, 100}, [&](ToolContext& c) { scale.release(c, true); }));
    EXPECT_EQ(test::pts(vertices), test::pts(before));
}

}  // namespace
}  // namespace rek
