#include "render/frame_renderer.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "render_test_support.h"

namespace rek {
namespace {

using test::hasColor;
using test::kBackground;
using test::kLine;
using test::kShadow;

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

QImage render(EditorState& state) {
    FrameRenderer renderer;
    renderer.drawFrame(state);
    return renderer.frame(state.model.properties);
}

// A bent stroke, so both axes and a join are covered.
EditorState bentStroke() {
    EditorState state = test::plainState();
    test::addStroke(state, {{30, 40}, {120, 60}, {90, 150}});
    return state;
}

TEST(DrawFrame, FillsTheCanvasRegionAndFrameHasCanvasSize) {
    EditorState state = test::plainState();
    state.model.properties.width = 120;
    state.model.properties.height = 70;
    FrameRenderer renderer;
    renderer.drawFrame(state);
    EXPECT_TRUE(hasColor(renderer.surface(), 119, 69, kBackground));
    EXPECT_FALSE(hasColor(renderer.surface(), 120, 69, kBackground));
    EXPECT_FALSE(hasColor(renderer.surface(), 119, 70, kBackground));
    const QImage frame = renderer.frame(state.model.properties);
    EXPECT_EQ(frame.size(), QSize(120, 70));
    EXPECT_EQ(pixelsOf(frame, kBackground).size(), 120u * 70u);
}

TEST(DrawFrame, WithoutWobbleLinesSitOnTheStoredCoordinates) {
    EditorState state = test::plainState();
    test::addStroke(state, {{20, 50}, {120, 50}});
    const QImage image = render(state);
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

TEST(DrawFrame, ShadowIsTheLineDrawingMovedByHalfTheWidthBeneathIt) {
    for (int width : {4, 5}) {
        EditorState state = bentStroke();
        state.model.properties.lineWidth = width;
        const PixelSet line = pixelsOf(render(state), kLine);

        state.model.properties.shadowMode = 0;
        const QImage withShadow = render(state);
        EXPECT_EQ(pixelsOf(withShadow, kLine), line) << width;
        EXPECT_EQ(pixelsOf(withShadow, kShadow), without(shifted(line, 2, 2), line)) << width;
    }
}

TEST(DrawFrame, ShadowModesOtherThanZeroDrawNoShadow) {
    for (int mode : {1, 2, -1}) {
        EditorState state = bentStroke();
        state.model.properties.shadowMode = mode;
        const QImage image = render(state);
        EXPECT_EQ(pixelsOf(image, kShadow).size(), 0u) << mode;
        EXPECT_GT(pixelsOf(image, kLine).size(), 0u) << mode;
    }
}

TEST(DrawFrame, VertexAndShadowMoveByTheSameJitter) {
    EditorState jittered = bentStroke();
    jittered.model.properties.shadowMode = 0;
    const int offsets[3][2] = {{3, -2}, {-1, 3}, {2, 2}};
    for (int i = 0; i < 3; ++i) {
        jittered.model.vertices[i].wobbleDx = static_cast<std::int8_t>(offsets[i][0]);
        jittered.model.vertices[i].wobbleDy = static_cast<std::int8_t>(offsets[i][1]);
    }
    EditorState moved = test::plainState();
    moved.model.properties.shadowMode = 0;
    test::addStroke(moved, {{33, 38}, {119, 63}, {92, 152}});
    EXPECT_EQ(render(jittered), render(moved));
}

TEST(DrawFrame, StrokesBreakAtStrokeStartsAndOddKindsDrawNothing) {
    EditorState state = test::plainState();
    test::addStroke(state, {{20, 50}, {60, 50}});
    test::addStroke(state, {{100, 50}, {140, 50}});
    Vertex odd = test::vertexAt(140, 150, VertexKind::Joined);
    odd.kind = 7;
    state.model.vertices.push_back(odd);
    const QImage image = render(state);
    EXPECT_TRUE(hasColor(image, 40, 50, kLine));
    EXPECT_TRUE(hasColor(image, 120, 50, kLine));
    EXPECT_FALSE(hasColor(image, 80, 50, kLine));
    EXPECT_FALSE(hasColor(image, 140, 100, kLine));
    EXPECT_EQ(state.drawnVertexCount, 5);
}

TEST(DrawFrame, JoinedVertexAtTheHeadStartsItsStroke) {
    EditorState state = test::plainState();
    state.model.vertices.push_back(test::vertexAt(20, 50, VertexKind::Joined));
    state.model.vertices.push_back(test::vertexAt(120, 50, VertexKind::Joined));
    const QImage image = render(state);
    EXPECT_TRUE(hasColor(image, 70, 50, kLine));
    EXPECT_FALSE(hasColor(image, 10, 25, kLine));  // nothing from the origin
}

TEST(DrawFrame, StrokeStartsOnlyDrawNothingButAreCounted) {
    EditorState state = test::plainState();
    for (int i = 0; i < 3; ++i)
        test::addStroke(state, {{20 + 40 * i, 50}});
    const QImage image = render(state);
    EXPECT_EQ(pixelsOf(image, kLine).size(), 0u);
    EXPECT_EQ(state.drawnVertexCount, 3);
}

TEST(DrawFrame, ExtremeCoordinatesAreDrawnWithoutOverflow) {
    EditorState state = test::plainState();
    state.model.properties.shadowMode = 0;
    // A line from far off the surface through (100, 100) keeps its direction.
    test::addStroke(state, {{-2000000000, 100}, {100, 100}, {2147483647, 2147483647}});
    state.model.vertices[2].wobbleDx = 127;
    state.model.vertices[2].wobbleDy = 127;
    const QImage image = render(state);
    EXPECT_TRUE(hasColor(image, 50, 100, kLine));
    EXPECT_TRUE(hasColor(image, 150, 150, kLine));
}

TEST(DrawFrame, ColourAndWidthChangesShowInTheNextFrame) {
    EditorState state = test::plainState();
    test::addStroke(state, {{20, 50}, {120, 50}});
    FrameRenderer renderer;
    renderer.drawFrame(state);
    EXPECT_EQ(test::countInColumn(renderer.surface(), 70, kLine), 4);

    const ColorRgb green{0, 160, 0};
    state.model.properties.lineColor = green;
    state.model.properties.lineWidth = 10;
    state.model.properties.backgroundColor = ColorRgb{10, 20, 30};
    renderer.drawFrame(state);
    EXPECT_EQ(test::countInColumn(renderer.surface(), 70, green), 10);
    EXPECT_TRUE(hasColor(renderer.surface(), 5, 5, ColorRgb{10, 20, 30}));
}

TEST(DrawFrame, ScalePreviewMovesOnlySelectedVertices) {
    EditorState state = test::plainState();
    test::addStroke(state, {{100, 100}, {110, 100}});
    state.model.vertices[1].selected = 1;
    state.tool.scalePivot = {100, 100};
    state.tool.scaleFactor = 2.0f;
    EXPECT_FALSE(hasColor(render(state), 118, 100, kLine));

    state.tool.scaleMode = true;
    const QImage scaled = render(state);
    EXPECT_TRUE(hasColor(scaled, 100, 100, kLine));
    EXPECT_TRUE(hasColor(scaled, 120, 100, kLine));
    EXPECT_FALSE(hasColor(scaled, 124, 100, kLine));

    // A factor of zero puts every selected vertex on the pivot.
    state.tool.scaleFactor = 0.0f;
    EXPECT_FALSE(hasColor(render(state), 105, 100, kLine));
}

// Replay of one 100-pixel stroke from (20, 50) to (120, 50).
class VtrReplay : public ::testing::Test {
  protected:
    void SetUp() override {
        state = test::plainState();
        state.model.properties.shadowMode = 0;
        test::addStroke(state, {{20, 50}, {120, 50}});
        state.playback.vtrPlaying = true;
        state.drawnVertexCount = 99;
    }
    FrameOutcome drawAt(std::uint32_t length) {
        state.playback.vtrDrawnLength = length;
        const FrameOutcome outcome = renderer.drawFrame(state);
        image = renderer.surface();
        return outcome;
    }
    EditorState state;
    FrameRenderer renderer;
    QImage image;
};

TEST_F(VtrReplay, LengthZeroDrawsNoVisibleLine) {
    const FrameOutcome outcome = drawAt(0);
    EXPECT_FALSE(hasColor(image, 30, 50, kLine));
    EXPECT_FALSE(hasColor(image, 30, 52, kShadow));
    EXPECT_TRUE(outcome.vtrStepped);
    EXPECT_FALSE(outcome.vtrEnded);
    EXPECT_EQ(state.playback.vtrDrawnLength, 40u);
}

TEST_F(VtrReplay, PartialSegmentEndsBothPassesAtTheLength) {
    const FrameOutcome outcome = drawAt(40);
    EXPECT_TRUE(hasColor(image, 58, 50, kLine));
    EXPECT_FALSE(hasColor(image, 64, 50, kLine));
    EXPECT_TRUE(hasColor(image, 60, 53, kShadow));
    EXPECT_FALSE(hasColor(image, 66, 53, kShadow));
    EXPECT_FALSE(outcome.vtrEnded);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 80u);
    EXPECT_EQ(state.drawnVertexCount, 99);
}

TEST_F(VtrReplay, ExactlyReachingTheEndStillCountsAsUnfinished) {
    const FrameOutcome outcome = drawAt(100);
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_FALSE(outcome.vtrEnded);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 140u);
}

TEST_F(VtrReplay, PassingTheEndDrawsEverythingAndEndsTheReplay) {
    const FrameOutcome outcome = drawAt(101);
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_TRUE(outcome.vtrStepped);
    EXPECT_TRUE(outcome.vtrEnded);
    EXPECT_FALSE(state.playback.vtrPlaying);
    EXPECT_EQ(state.drawnVertexCount, 99);
}

TEST_F(VtrReplay, PartialHeadingPointsAtTheJitteredEnd) {
    state.model.properties.shadowMode = 1;
    state.model.vertices[1].wobbleDy = 100;  // the end now lies at (120, 150): heading 45 degrees
    drawAt(50);
    // 50 * cos 45 = 35.36, truncated to 35.
    EXPECT_TRUE(hasColor(image, 53, 83, kLine));
    EXPECT_FALSE(hasColor(image, 60, 90, kLine));
}

TEST_F(VtrReplay, StrokeStartsCostNoLength) {
    test::addStroke(state, {{20, 100}, {120, 100}});
    drawAt(150);
    EXPECT_TRUE(hasColor(image, 118, 50, kLine));
    EXPECT_TRUE(hasColor(image, 66, 100, kLine));
    EXPECT_FALSE(hasColor(image, 74, 100, kLine));
}

TEST_F(VtrReplay, EmptyModelEndsAtTheFirstFrame) {
    state.model.vertices.clear();
    EXPECT_TRUE(drawAt(0).vtrEnded);
    EXPECT_FALSE(state.playback.vtrPlaying);
}

TEST_F(VtrReplay, StrokeStartsOnlyEndAtTheFirstFrame) {
    state.model.vertices.clear();
    test::addStroke(state, {{20, 50}});
    test::addStroke(state, {{60, 50}});
    EXPECT_TRUE(drawAt(0).vtrEnded);
    EXPECT_EQ(state.drawnVertexCount, 99);
}

TEST_F(VtrReplay, LengthSaturatesInsteadOfWrapping) {
    state.model.properties.vtrSpeed = kMaxVtrSpeed;
    drawAt(4294967000u);
    EXPECT_FALSE(state.playback.vtrPlaying);

    // Segments longer than the counter can reach: the length stops at its maximum.
    state.model.vertices.clear();
    test::addStroke(state, {{-2000000000, 0}, {2000000000, 0}, {-2000000000, 0}});
    state.playback.vtrPlaying = true;
    drawAt(4294967000u);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 4294967295u);
}

}  // namespace
}  // namespace rek
