#include "render/frame_renderer.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "render/playback.h"
#include "render_test_support.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::hasColor;
using test::kBackground;
using test::kLine;
using test::kShadow;
using test::makeVertex;

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsOf(const QImage& image, ColorRgb color) {
    PixelSet pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (hasColor(image, x, y, color))
                pixels.insert({x, y});
        }
    }
    return pixels;
}

PixelSet shifted(const PixelSet& pixels, int dx, int dy) {
    PixelSet result;
    for (auto [x, y] : pixels)
        result.insert({x + dx, y + dy});
    return result;
}

PixelSet without(const PixelSet& pixels, const PixelSet& removed) {
    PixelSet result;
    for (const auto& pixel : pixels) {
        if (!removed.count(pixel))
            result.insert(pixel);
    }
    return result;
}

// Whole frames, outside a replay.
class DrawFrame : public ::testing::Test {
  protected:
    QImage render() {
        renderer.drawFrame(FrameScene{vertices, properties, std::nullopt, scale});
        return renderer.frame(properties);
    }

    // A bent stroke, so both axes and a join are covered.
    void addBentStroke() { addStroke(vertices, {{30, 40}, {120, 60}, {90, 150}}); }

    VertexList vertices;
    ModelProperties properties = test::plainProperties();
    std::optional<ScalePreview> scale;
    FrameRenderer renderer;
};

TEST_F(DrawFrame, FillsTheCanvasRegionAndFrameHasCanvasSize) {
    properties.width = 120;
    properties.height = 70;
    EXPECT_TRUE(
        renderer.drawFrame(FrameScene{vertices, properties, std::nullopt, std::nullopt}).complete);
    EXPECT_TRUE(hasColor(renderer.surface(), 119, 69, kBackground));
    EXPECT_FALSE(hasColor(renderer.surface(), 120, 69, kBackground));
    EXPECT_FALSE(hasColor(renderer.surface(), 119, 70, kBackground));
    const QImage frame = renderer.frame(properties);
    EXPECT_EQ(frame.size(), QSize(120, 70));
    EXPECT_EQ(pixelsOf(frame, kBackground).size(), 120u * 70u);
}

TEST_F(DrawFrame, WithoutOffsetsLinesSitOnTheStoredCoordinates) {
    addStroke(vertices, {{20, 50}, {120, 50}});
    const QImage image = render();
    // A 4-pixel line centred on y = 50, with round ends around x = 20 and x = 120.
    EXPECT_EQ(test::countInColumn(image, 70, kLine), 4);
    for (int y : {49, 50, 51})
        EXPECT_TRUE(hasColor(image, 70, y, kLine)) << y;
    EXPECT_TRUE(hasColor(image, 20, 50, kLine));
    EXPECT_TRUE(hasColor(image, 120, 50, kLine));
    EXPECT_FALSE(hasColor(image, 16, 50, kLine));
    EXPECT_FALSE(hasColor(image, 124, 50, kLine));
    EXPECT_EQ(pixelsOf(image, kShadow).size(), 0u);
}

TEST_F(DrawFrame, ShadowIsTheLineDrawingMovedByHalfTheWidthBeneathIt) {
    addBentStroke();
    for (int width : {4, 5, 8, 11}) {
        SCOPED_TRACE(width);
        properties.lineWidth = width;
        properties.shadowMode = 1;
        const PixelSet line = pixelsOf(render(), kLine);

        properties.shadowMode = 0;
        const QImage withShadow = render();
        EXPECT_EQ(pixelsOf(withShadow, kLine), line);
        EXPECT_EQ(pixelsOf(withShadow, kShadow),
                  without(shifted(line, width / 2, width / 2), line));
    }
}

TEST_F(DrawFrame, ShadowModesOtherThanZeroDrawNoShadow) {
    addBentStroke();
    for (int mode : {1, 2, -1}) {
        properties.shadowMode = mode;
        const QImage image = render();
        EXPECT_EQ(pixelsOf(image, kShadow).size(), 0u) << mode;
        EXPECT_GT(pixelsOf(image, kLine).size(), 0u) << mode;
    }
}

TEST_F(DrawFrame, VertexAndShadowMoveByTheSameOffset) {
    properties.shadowMode = 0;
    addBentStroke();
    const int offsets[3][2] = {{3, -2}, {-1, 3}, {2, 2}};
    for (int i = 0; i < 3; ++i) {
        vertices[i].wobbleDx = static_cast<std::int8_t>(offsets[i][0]);
        vertices[i].wobbleDy = static_cast<std::int8_t>(offsets[i][1]);
    }
    const QImage jittered = render();

    vertices.clear();
    addStroke(vertices, {{33, 38}, {119, 63}, {92, 152}});
    EXPECT_EQ(jittered, render());
}

TEST_F(DrawFrame, StrokesBreakAtStrokeStartsAndOddKindsDrawNothing) {
    addStroke(vertices, {{20, 50}, {60, 50}});
    addStroke(vertices, {{100, 50}, {140, 50}});
    Vertex odd = makeVertex(140, 150, true);
    odd.kind = 7;
    vertices.push_back(odd);
    const QImage image = render();
    EXPECT_TRUE(hasColor(image, 40, 50, kLine));
    EXPECT_TRUE(hasColor(image, 120, 50, kLine));
    EXPECT_FALSE(hasColor(image, 80, 50, kLine));
    EXPECT_FALSE(hasColor(image, 140, 100, kLine));
}

TEST_F(DrawFrame, JoinedVertexAtTheHeadStartsItsStroke) {
    vertices.push_back(makeVertex(20, 50, true));
    vertices.push_back(makeVertex(120, 50, true));
    const QImage image = render();
    EXPECT_TRUE(hasColor(image, 70, 50, kLine));
    EXPECT_FALSE(hasColor(image, 10, 25, kLine));  // nothing from the origin
}

TEST_F(DrawFrame, StrokeStartsOnlyDrawNothing) {
    for (int i = 0; i < 3; ++i)
        addStroke(vertices, {{20 + 40 * i, 50}});
    EXPECT_EQ(pixelsOf(render(), kLine).size(), 0u);
}

TEST_F(DrawFrame, ExtremeCoordinatesAreDrawnWithoutOverflow) {
    properties.shadowMode = 0;
    // A line from far off the surface through (100, 100) keeps its direction.
    addStroke(vertices, {{-2000000000, 100}, {100, 100}, {2147483647, 2147483647}});
    vertices[2].wobbleDx = 127;
    vertices[2].wobbleDy = 127;
    const QImage image = render();
    EXPECT_TRUE(hasColor(image, 50, 100, kLine));
    EXPECT_TRUE(hasColor(image, 150, 150, kLine));
}

TEST_F(DrawFrame, ColourAndWidthChangesShowInTheNextFrame) {
    addStroke(vertices, {{20, 50}, {120, 50}});
    EXPECT_EQ(test::countInColumn(render(), 70, kLine), 4);

    const ColorRgb green{0, 160, 0};
    properties.lineColor = green;
    properties.lineWidth = 10;
    properties.backgroundColor = ColorRgb{10, 20, 30};
    const QImage image = render();
    EXPECT_EQ(test::countInColumn(image, 70, green), 10);
    EXPECT_TRUE(hasColor(image, 5, 5, ColorRgb{10, 20, 30}));
}

TEST_F(DrawFrame, ScalePreviewMovesOnlySelectedVertices) {
    addStroke(vertices, {{100, 100}, {110, 100}});
    vertices[1].selected = 1;
    EXPECT_FALSE(hasColor(render(), 118, 100, kLine));

    scale = ScalePreview{{100, 100}, 2.0f};
    const QImage scaled = render();
    EXPECT_TRUE(hasColor(scaled, 100, 100, kLine));
    EXPECT_TRUE(hasColor(scaled, 120, 100, kLine));
    EXPECT_FALSE(hasColor(scaled, 124, 100, kLine));

    // Unselected vertices stay where they are.
    vertices[1].selected = 0;
    EXPECT_FALSE(hasColor(render(), 118, 100, kLine));

    // A factor of zero puts every selected vertex on the pivot.
    vertices[1].selected = 1;
    scale = ScalePreview{{100, 100}, 0.0f};
    EXPECT_FALSE(hasColor(render(), 105, 100, kLine));
}

// Replay of one 100-pixel stroke from (20, 50) to (120, 50), a frame at a time as the editor
// runs it: draw up to the length, then move the replay on.
class VtrReplay : public ::testing::Test {
  protected:
    void SetUp() override {
        properties.shadowMode = 0;
        addStroke(vertices, {{20, 50}, {120, 50}});
        playback.vtrPlaying = true;
    }
    FrameResult drawAt(std::uint32_t length) {
        const FrameResult result =
            renderer.drawFrame(FrameScene{vertices, properties, length, std::nullopt});
        image = renderer.surface();
        return result;
    }
    // One frame of the replay; returns whether it ended the replay.
    bool step(std::uint32_t length) {
        playback.vtrDrawnLength = length;
        return advanceReplay(playback, drawAt(length).complete, properties.vtrSpeed);
    }

    VertexList vertices;
    ModelProperties properties = test::plainProperties();
    PlaybackState playback;
    FrameRenderer renderer;
    QImage image;
};

TEST_F(VtrReplay, LengthZeroDrawsNoVisibleLine) {
    EXPECT_FALSE(step(0));
    EXPECT_FALSE(hasColor(image, 30, 50, kLine));
    EXPECT_FALSE(hasColor(image, 30, 52, kShadow));
    EXPECT_TRUE(playback.vtrPlaying);
    EXPECT_EQ(playback.vtrDrawnLength, 40u);
}

TEST_F(VtrReplay, PartialSegmentEndsBothPassesAtTheLength) {
    EXPECT_FALSE(step(40));
    EXPECT_TRUE(hasColor(image, 58, 50, kLine));
    EXPECT_FALSE(hasColor(image, 64, 50, kLine));
    EXPECT_TRUE(hasColor(image, 60, 53, kShadow));
    EXPECT_FALSE(hasColor(image, 66, 53, kShadow));
    EXPECT_TRUE(playback.vtrPlaying);
    EXPECT_EQ(playback.vtrDrawnLength, 80u);
}

TEST_F(VtrReplay, ExactlyReachingTheEndStillCountsAsUnfinished) {
    EXPECT_FALSE(step(100));
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_TRUE(playback.vtrPlaying);
    EXPECT_EQ(playback.vtrDrawnLength, 140u);
}

TEST_F(VtrReplay, PassingTheEndDrawsEverythingAndEndsTheReplay) {
    EXPECT_TRUE(step(101));
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_TRUE(hasColor(image, 120, 53, kShadow));
    EXPECT_FALSE(playback.vtrPlaying);
}

TEST_F(VtrReplay, PartialHeadingPointsAtTheJitteredEnd) {
    properties.shadowMode = 1;
    vertices[1].wobbleDy = 100;  // the end now lies at (120, 150): heading 45 degrees
    drawAt(50);
    // 50 * cos 45 = 35.36, truncated to 35.
    EXPECT_TRUE(hasColor(image, 53, 83, kLine));
    EXPECT_FALSE(hasColor(image, 60, 90, kLine));
}

TEST_F(VtrReplay, PartialSegmentStartsAtThePreviousVertexWithItsOffset) {
    // The previous vertex is drawn at (10, 80); the heading, from its stored position to the
    // end, is straight to the right, so the 40 pixels run from (10, 80) to (50, 80).
    vertices[0].wobbleDx = -10;
    vertices[0].wobbleDy = 30;
    EXPECT_FALSE(drawAt(40).complete);
    for (int x : {12, 30, 48})
        EXPECT_TRUE(hasColor(image, x, 80, kLine)) << x;
    EXPECT_FALSE(hasColor(image, 54, 80, kLine));
    EXPECT_FALSE(hasColor(image, 30, 65, kLine));
    // The shadow pass ends the same way, half the width further down and right.
    EXPECT_TRUE(hasColor(image, 50, 83, kShadow));
    EXPECT_FALSE(hasColor(image, 56, 83, kShadow));
}

TEST_F(VtrReplay, StrokeStartsCostNoLength) {
    addStroke(vertices, {{20, 100}, {120, 100}});
    drawAt(150);
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_TRUE(hasColor(image, 66, 100, kLine));
    EXPECT_FALSE(hasColor(image, 74, 100, kLine));
}

TEST_F(VtrReplay, EmptyDrawingEndsAtTheFirstFrame) {
    vertices.clear();
    EXPECT_TRUE(step(0));
    EXPECT_FALSE(playback.vtrPlaying);
}

TEST_F(VtrReplay, StrokeStartsOnlyEndAtTheFirstFrame) {
    vertices.clear();
    addStroke(vertices, {{20, 50}});
    addStroke(vertices, {{60, 50}});
    EXPECT_TRUE(step(0));
}

TEST_F(VtrReplay, LengthSaturatesInsteadOfWrapping) {
    properties.vtrSpeed = kMaxVtrSpeed;
    EXPECT_TRUE(step(4294967000u));
    EXPECT_FALSE(playback.vtrPlaying);

    // Segments longer than the counter can reach: the length stops at its maximum.
    vertices.clear();
    addStroke(vertices, {{-2000000000, 0}, {2000000000, 0}, {-2000000000, 0}});
    playback.vtrPlaying = true;
    EXPECT_FALSE(step(4294967000u));
    EXPECT_TRUE(playback.vtrPlaying);
    EXPECT_EQ(playback.vtrDrawnLength, 4294967295u);
}

}  // namespace
}  // namespace rek
