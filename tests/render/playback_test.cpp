#include "render/playback.h"

#include <gtest/gtest.h>

#include <limits>

#include "render/frame_renderer.h"
#include "render_test_support.h"
#include "vertex_builders.h"

namespace rek {
namespace {

constexpr std::uint32_t kMaxLength = std::numeric_limits<std::uint32_t>::max();

TEST(AdvanceReplay, GrowsBySpeedAtLeastOneSaturatesAndEndsOnACompleteFrame) {
    PlaybackState playback{true, 0};
    EXPECT_FALSE(advanceReplay(playback, false, 40));
    EXPECT_EQ(playback.vtrDrawnLength, 40u);
    for (int speed : {0, -7, std::numeric_limits<std::int32_t>::min()})
        advanceReplay(playback, false, speed);
    EXPECT_EQ(playback.vtrDrawnLength, 43u);

    playback.vtrDrawnLength = kMaxLength - 100;
    EXPECT_FALSE(advanceReplay(playback, false, kMaxVtrSpeed));
    EXPECT_EQ(playback.vtrDrawnLength, kMaxLength);
    EXPECT_FALSE(advanceReplay(playback, false, std::numeric_limits<std::int32_t>::max()));
    EXPECT_EQ(playback.vtrDrawnLength, kMaxLength);
    EXPECT_TRUE(playback.vtrPlaying);

    EXPECT_TRUE(advanceReplay(playback, true, 40));
    EXPECT_FALSE(playback.vtrPlaying);
}

TEST(ReplayProgressMaximum, IsTheTruncatedTotalLengthAndSaturates) {
    VertexList vertices;
    EXPECT_EQ(replayProgressMaximum(vertices), 0u);
    test::addStroke(vertices, {{0, 0}, {1, 1}, {4, 5}});  // 1.41 + 5
    EXPECT_EQ(replayProgressMaximum(vertices), 6u);
    test::addStroke(vertices, {{-2000000000, 0}, {2000000000, 0}, {-2000000000, 0}});
    EXPECT_EQ(replayProgressMaximum(vertices), kMaxLength);
}

// The editor's replay loop with the renderer: draw up to the length, then move on.
TEST(ReplayFrames, AThousandPixelsTakeTwentySevenFramesAtSpeedForty) {
    VertexList vertices;
    test::addStroke(vertices, {{0, 0}, {600, 0}, {600, 400}});
    EXPECT_EQ(replayProgressMaximum(vertices), 1000u);

    ModelProperties properties = test::plainProperties();
    properties.vtrSpeed = 40;
    FrameRenderer renderer;
    PlaybackState playback{true, 0};
    int frames = 0;
    while (playback.vtrPlaying && frames < 100) {
        ++frames;
        const FrameResult result = renderer.drawFrame(
            FrameScene{vertices, properties, playback.vtrDrawnLength, std::nullopt});
        advanceReplay(playback, result.complete, properties.vtrSpeed);
    }
    EXPECT_EQ(frames, 27);
}

}  // namespace
}  // namespace rek
