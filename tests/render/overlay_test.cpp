#include <gtest/gtest.h>

#include "render/frame_renderer.h"
#include "render_test_support.h"

namespace rek {
namespace {

using test::countInColumn;
using test::hasColor;
using test::kBackground;
using test::kRed;

class Overlays : public ::testing::Test {
  protected:
    const QImage& drawAll() {
        renderer.drawFrame(state);
        renderer.drawOverlays(state);
        return renderer.surface();
    }
    EditorState state = test::plainState();
    FrameRenderer renderer;
};

TEST_F(Overlays, SegmentBetweenSelectedNeighboursIsRed) {
    test::addStroke(state, {{20, 50}, {120, 50}, {180, 50}});
    state.model.vertices[0].selected = 1;
    state.model.vertices[1].selected = 1;
    const QImage& image = drawAll();
    EXPECT_EQ(countInColumn(image, 70, kRed), 4);
    EXPECT_EQ(countInColumn(image, 150, kRed), 0);
}

TEST_F(Overlays, LoneSelectedVertexGetsAWiderDot) {
    test::addStroke(state, {{20, 50}, {120, 50}, {180, 50}});
    state.model.vertices[1].selected = 1;
    const QImage& image = drawAll();
    EXPECT_EQ(countInColumn(image, 120, kRed), 6);  // lineWidth + 2
    EXPECT_EQ(countInColumn(image, 70, kRed), 0);
    EXPECT_EQ(countInColumn(image, 150, kRed), 0);
}

TEST_F(Overlays, SelectedNeighboursAcrossAStrokeBreakGetDots) {
    test::addStroke(state, {{20, 50}, {60, 50}});
    test::addStroke(state, {{100, 50}, {140, 50}});
    state.model.vertices[1].selected = 1;
    state.model.vertices[2].selected = 1;
    const QImage& image = drawAll();
    EXPECT_EQ(countInColumn(image, 60, kRed), 6);
    EXPECT_EQ(countInColumn(image, 100, kRed), 6);
    EXPECT_EQ(countInColumn(image, 80, kRed), 0);
}

TEST_F(Overlays, HighlightFollowsJitterAndScalePreview) {
    test::addStroke(state, {{20, 50}, {110, 50}});
    state.model.vertices[1].selected = 1;
    state.model.vertices[1].wobbleDy = 20;
    state.tool.scaleMode = true;
    state.tool.scalePivot = {20, 50};
    state.tool.scaleFactor = 0.5f;
    // Scaled to (65, 50), then jittered to (65, 70).
    EXPECT_TRUE(hasColor(drawAll(), 65, 70, kRed));
}

TEST_F(Overlays, StraightLineRubberBandRunsFromTheLastStoredVertex) {
    test::addStroke(state, {{20, 50}});
    state.model.vertices[0].wobbleDx = 3;
    state.tool.dragging = true;
    state.tool.pointer = {120, 50};
    const QImage& image = drawAll();
    EXPECT_EQ(countInColumn(image, 70, kRed), 4);
    EXPECT_TRUE(hasColor(image, 19, 50, kRed));  // not shifted by the jitter

    state.tool.moveMode = true;
    EXPECT_EQ(countInColumn(drawAll(), 70, kRed), 0);
}

TEST_F(Overlays, RectangleAndEllipseBandsAreOutlines) {
    state.tool.dragging = true;
    state.tool.dragStart = {120, 140};
    state.tool.pointer = {20, 40};
    state.tool.mode = ToolMode::FilledRect;
    const QImage rect = drawAll();
    EXPECT_TRUE(hasColor(rect, 20, 90, kRed));
    EXPECT_TRUE(hasColor(rect, 120, 90, kRed));
    EXPECT_TRUE(hasColor(rect, 70, 40, kRed));
    EXPECT_TRUE(hasColor(rect, 20, 40, kRed));
    EXPECT_TRUE(hasColor(rect, 70, 90, kBackground));

    state.tool.mode = ToolMode::Circle;
    const QImage ellipse = drawAll();
    EXPECT_TRUE(hasColor(ellipse, 70, 40, kRed));
    EXPECT_TRUE(hasColor(ellipse, 20, 90, kRed));
    EXPECT_TRUE(hasColor(ellipse, 21, 41, kBackground));  // the corner is outside the ellipse
    EXPECT_TRUE(hasColor(ellipse, 70, 90, kBackground));
}

TEST_F(Overlays, RangeSelectBandIsOnePixelBlackAndWhiteDots) {
    state.tool.mode = ToolMode::RangeSelect;
    state.tool.dragging = true;
    state.tool.dragStart = {30, 20};
    state.tool.pointer = {10, 10};
    const QImage& image = drawAll();
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (int x = 10; x <= 30; ++x) {
        EXPECT_EQ(image.pixel(x, 10), (x - 10) % 2 == 0 ? black : white) << x;
    }
    for (int y = 11; y <= 19; ++y) {
        EXPECT_NE(image.pixel(10, y), image.pixel(10, y + 1)) << y;
        EXPECT_NE(image.pixel(30, y), image.pixel(30, y + 1)) << y;
    }
    for (int y = 9; y <= 21; y += 12)
        EXPECT_TRUE(hasColor(image, 20, y, kBackground));
    EXPECT_TRUE(hasColor(image, 20, 15, kBackground));
    EXPECT_TRUE(hasColor(image, 9, 15, kBackground));
    EXPECT_TRUE(hasColor(image, 31, 15, kBackground));
}

TEST_F(Overlays, NoBandWithoutADrag) {
    test::addStroke(state, {{20, 50}});
    state.tool.pointer = {120, 50};
    EXPECT_EQ(countInColumn(drawAll(), 70, kRed), 0);
}

TEST_F(Overlays, RedPensFollowTheLineWidth) {
    test::addStroke(state, {{20, 50}, {120, 50}, {180, 50}});
    state.model.vertices[0].selected = 1;
    state.model.vertices[1].selected = 1;
    state.model.properties.lineWidth = 8;
    EXPECT_EQ(countInColumn(drawAll(), 70, kRed), 8);
}

}  // namespace
}  // namespace rek
