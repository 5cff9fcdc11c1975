#include <gtest/gtest.h>

#include "render/frame_renderer.h"
#include "render_test_support.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::countInColumn;
using test::hasColor;
using test::kBackground;
using test::kRed;

class Overlays : public ::testing::Test {
  protected:
    const QImage& drawAll() {
        renderer.drawFrame(FrameScene{vertices, properties, std::nullopt, std::nullopt});
        renderer.drawOverlays(OverlayScene{vertices, properties.lineWidth, band, scale});
        return renderer.surface();
    }

    void addThreePointStroke() { addStroke(vertices, {{20, 50}, {120, 50}, {180, 50}}); }

    VertexList vertices;
    ModelProperties properties = test::plainProperties();
    RubberBand band;
    std::optional<ScalePreview> scale;
    FrameRenderer renderer;
};

// Selected neighbours get a red line of the line width; a selected vertex with no selected
// neighbour in its stroke gets a dot of the width + 2.
TEST_F(Overlays, SelectedSegmentsAreRedLinesLoneVerticesWiderDotsFollowingTheOffsets) {
    struct Case {
        std::vector<int> selected;
        int column20, column70, column120, column150;
    };
    const Case cases[] = {{{0, 1}, 4, 4, 4, 0}, {{1}, 0, 0, 6, 0}, {{0}, 6, 0, 0, 0}};
    for (const Case& c : cases) {
        vertices.clear();
        addThreePointStroke();
        for (int i : c.selected)
            vertices[i].selected = 1;
        const QImage& image = drawAll();
        EXPECT_EQ(countInColumn(image, 20, kRed), c.column20) << c.selected.size();
        EXPECT_EQ(countInColumn(image, 70, kRed), c.column70) << c.selected.size();
        EXPECT_EQ(countInColumn(image, 120, kRed), c.column120) << c.selected.size();
        EXPECT_EQ(countInColumn(image, 150, kRed), c.column150) << c.selected.size();
    }

    // A selected neighbour that begins the next stroke draws no line from the head.
    vertices.clear();
    addStroke(vertices, {{20, 50}});
    addStroke(vertices, {{100, 50}, {140, 50}});
    vertices[0].selected = 1;
    vertices[1].selected = 1;
    const QImage& apart = drawAll();
    EXPECT_EQ(countInColumn(apart, 20, kRed), 6);
    EXPECT_EQ(countInColumn(apart, 60, kRed), 0);
    EXPECT_EQ(countInColumn(apart, 100, kRed), 6);

    // The highlight follows the wobble offset and the scale preview.
    vertices.clear();
    addStroke(vertices, {{20, 50}, {110, 50}});
    vertices[1].selected = 1;
    vertices[1].wobbleDy = 20;
    scale = ScalePreview{{20, 50}, 0.5f};
    // Scaled to (65, 50), then moved by the offset to (65, 70).
    EXPECT_TRUE(hasColor(drawAll(), 65, 70, kRed));
}

TEST_F(Overlays, LineBandHasTheLineWidthAndShapeBandsAreOutlines) {
    band = RubberBand{RubberBand::Shape::Line, {20, 50}, {120, 50}};
    const QImage& image = drawAll();
    EXPECT_EQ(countInColumn(image, 70, kRed), 4);
    EXPECT_TRUE(hasColor(image, 19, 50, kRed));
    EXPECT_TRUE(hasColor(image, 121, 50, kRed));
    EXPECT_FALSE(hasColor(image, 17, 50, kRed));
    EXPECT_FALSE(hasColor(image, 123, 50, kRed));

    properties.lineWidth = 10;
    EXPECT_EQ(countInColumn(drawAll(), 70, kRed), 10);

    // Rectangle and ellipse bands are outlines.
    properties.lineWidth = 4;
    band = RubberBand{RubberBand::Shape::Rectangle, {120, 140}, {20, 40}};
    const QImage rect = drawAll();
    EXPECT_TRUE(hasColor(rect, 20, 90, kRed));
    EXPECT_TRUE(hasColor(rect, 120, 90, kRed));
    EXPECT_TRUE(hasColor(rect, 70, 40, kRed));
    EXPECT_TRUE(hasColor(rect, 20, 40, kRed));
    EXPECT_TRUE(hasColor(rect, 70, 90, kBackground));

    band.shape = RubberBand::Shape::Ellipse;
    const QImage ellipse = drawAll();
    EXPECT_TRUE(hasColor(ellipse, 70, 40, kRed));
    EXPECT_TRUE(hasColor(ellipse, 20, 90, kRed));
    EXPECT_TRUE(hasColor(ellipse, 21, 41, kBackground));  // the corner is outside the ellipse
    EXPECT_TRUE(hasColor(ellipse, 70, 90, kBackground));
}

TEST_F(Overlays, SelectionBandIsOnePixelBlackAndWhiteDots) {
    band = RubberBand{RubberBand::Shape::SelectionBand, {30, 20}, {10, 10}};
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

}  // namespace
}  // namespace rek
