#include "render/animation_clock.h"

#include <gtest/gtest.h>

#include "render_test_support.h"

namespace rek {
namespace {

using test::countInColumn;
using test::kRed;

class Clock : public ::testing::Test {
  protected:
    void SetUp() override {
        test::addStroke(state, {{20, 50}, {120, 50}});
        state.model.vertices[0].selected = 1;
        state.model.vertices[1].selected = 1;
    }
    EditorState state = test::plainState();
    FrameRenderer renderer;
    AnimationClock clock;
};

TEST_F(Clock, StoresThePointerAndReportsTheCountOnlyWhenItChanges) {
    FrameTickResult result = clock.frameTick(state, renderer, {33, 44});
    EXPECT_EQ(state.tool.pointer, (Point{33, 44}));
    ASSERT_TRUE(result.vertexCountText.has_value());
    EXPECT_EQ(*result.vertexCountText, "頂点の数：2");
    EXPECT_EQ(countInColumn(renderer.surface(), 70, kRed), 4);  // overlays drawn

    EXPECT_FALSE(clock.frameTick(state, renderer, {0, 0}).vertexCountText.has_value());

    test::addStroke(state, {{150, 150}});
    result = clock.frameTick(state, renderer, {0, 0});
    ASSERT_TRUE(result.vertexCountText.has_value());
    EXPECT_EQ(*result.vertexCountText, "頂点の数：3");
}

TEST_F(Clock, ReplayShowsNoOverlaysAndKeepsTheCount) {
    clock.frameTick(state, renderer, {0, 0});
    test::addStroke(state, {{150, 150}});
    startVtr(state);
    const FrameTickResult result = clock.frameTick(state, renderer, {0, 0});
    EXPECT_TRUE(result.vtrStepped);
    EXPECT_FALSE(result.vertexCountText.has_value());
    EXPECT_EQ(countInColumn(renderer.surface(), 70, kRed), 0);
    EXPECT_EQ(state.drawnVertexCount, 2);
}

TEST_F(Clock, FrameThatEndsTheReplayGetsOverlaysAndTheCount) {
    startVtr(state);
    state.playback.vtrDrawnLength = 1000;
    const FrameTickResult result = clock.frameTick(state, renderer, {0, 0});
    EXPECT_TRUE(result.vtrEnded);
    EXPECT_TRUE(result.vertexCountText.has_value());
    EXPECT_EQ(countInColumn(renderer.surface(), 70, kRed), 4);
}

TEST_F(Clock, ReplayOfAThousandPixelsTakesTwentySevenFramesAtSpeedForty) {
    state.model.vertices.clear();
    test::addStroke(state, {{0, 0}, {600, 0}, {600, 400}});
    EXPECT_EQ(vtrProgressMaximum(state), 1000u);
    toggleVtr(state);
    int frames = 0;
    while (state.playback.vtrPlaying && frames < 100) {
        ++frames;
        clock.frameTick(state, renderer, {0, 0});
    }
    EXPECT_EQ(frames, 27);
}

TEST_F(Clock, ToggleStartsFromTheBeginningEachTime) {
    toggleVtr(state);
    EXPECT_TRUE(state.playback.vtrPlaying);
    clock.frameTick(state, renderer, {0, 0});
    EXPECT_EQ(state.playback.vtrDrawnLength, 40u);
    toggleVtr(state);
    EXPECT_FALSE(state.playback.vtrPlaying);
    toggleVtr(state);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 0u);
    stopVtr(state);
    EXPECT_FALSE(state.playback.vtrPlaying);
}

TEST_F(Clock, TicksDoNothingWhileAnExportIsBusy) {
    state.wobbleEnabled = true;
    clock.frameTick(state, renderer, {1, 1});
    const QImage before = renderer.surface().copy();
    state.exportBusy = true;
    state.model.properties.backgroundColor = ColorRgb{1, 2, 3};
    startVtr(state);

    const FrameTickResult result = clock.frameTick(state, renderer, {77, 77});
    EXPECT_FALSE(result.vertexCountText.has_value());
    EXPECT_FALSE(result.vtrStepped);
    EXPECT_EQ(state.tool.pointer, (Point{1, 1}));
    EXPECT_EQ(renderer.surface(), before);
    EXPECT_EQ(state.playback.vtrDrawnLength, 0u);

    wobbleTick(state);
    EXPECT_EQ(state.model.vertices[0].wobbleDx, 0);
    EXPECT_EQ(state.random.next(), Random(1).next());

    state.exportBusy = false;
    wobbleTick(state);
    EXPECT_NE(state.random.next(), Random(1).next());
}

TEST(VtrProgress, MaximumIsTheTruncatedTotalLength) {
    EditorState state;
    EXPECT_EQ(vtrProgressMaximum(state), 0u);
    test::addStroke(state, {{0, 0}, {1, 1}, {4, 5}});  // 1.41 + 5
    EXPECT_EQ(vtrProgressMaximum(state), 6u);
}

}  // namespace
}  // namespace rek
