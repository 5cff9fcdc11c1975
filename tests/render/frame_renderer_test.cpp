#include "render/frame_renderer.h"

#include <gtest/gtest.h>

#include "render_test_support.h"
#include "vertex_builders.h"

namespace rek {
namespace {

using test::addStroke;
using test::countInColumn;
using test::hasColor;
using test::kBackground;
using test::kLine;
using test::kShadow;
using test::makeVertex;

// What the pixel-for-pixel comparison with the reference frame (raster_painter_equivalence_test)
// does not reach: the frame's size, shadow modes other than 0 and 1, odd vertex kinds, a joined
// head, and when a replay counts as complete.
class DrawFrame : public ::testing::Test {
  protected:
    QImage render(std::optional<std::uint32_t> replay = std::nullopt) {
        complete =
            renderer.drawFrame(FrameScene{vertices, properties, replay, std::nullopt}).complete;
        return renderer.frame(properties);
    }
    int shadowPixels(const QImage& image) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += countInColumn(image, x, kShadow);
        return count;
    }

    VertexList vertices;
    ModelProperties properties = test::plainProperties();
    FrameRenderer renderer;
    bool complete = false;
};

TEST_F(DrawFrame, FrameHasTheCanvasSizeAndOnlyModeZeroDrawsAShadow) {
    properties.width = 120;
    properties.height = 70;
    EXPECT_TRUE(hasColor(render(), 119, 69, kBackground));
    EXPECT_EQ(renderer.frame(properties).size(), QSize(120, 70));
    EXPECT_FALSE(hasColor(renderer.surface(), 120, 69, kBackground));
    EXPECT_FALSE(hasColor(renderer.surface(), 119, 70, kBackground));

    addStroke(vertices, {{30, 40}, {100, 60}});
    for (int mode : {0, 1, 2, -1}) {
        properties.shadowMode = mode;
        const QImage image = render();
        EXPECT_EQ(shadowPixels(image) > 0, mode == 0) << mode;
        EXPECT_TRUE(hasColor(image, 65, 50, kLine)) << mode;
    }
}

TEST_F(DrawFrame, StrokesBreakAtStartsAJoinedHeadStartsItsStrokeOddKindsDrawNothing) {
    vertices.push_back(makeVertex(20, 50, true));  // joined head: no line from the origin
    vertices.push_back(makeVertex(60, 50, true));
    addStroke(vertices, {{100, 50}, {140, 50}});
    Vertex odd = makeVertex(140, 150, true);
    odd.kind = 7;
    vertices.push_back(odd);
    const QImage image = render();
    EXPECT_TRUE(hasColor(image, 40, 50, kLine));
    EXPECT_TRUE(hasColor(image, 120, 50, kLine));
    EXPECT_FALSE(hasColor(image, 80, 50, kLine));
    EXPECT_FALSE(hasColor(image, 140, 100, kLine));
    EXPECT_FALSE(hasColor(image, 10, 25, kLine));
}

// A replay is complete only once its length is beyond the whole drawing; stroke starts cost
// nothing, so a drawing of them alone (or none) is complete at once.
TEST_F(DrawFrame, ReplayIsCompleteOnlyPastTheEnd) {
    addStroke(vertices, {{20, 50}, {120, 50}});
    const struct {
        std::uint32_t length;
        bool complete;
    } cases[] = {{0, false}, {40, false}, {100, false}, {101, true}};
    for (const auto& c : cases) {
        render(c.length);
        EXPECT_EQ(complete, c.complete) << c.length;
    }
    vertices.clear();
    render(0);
    EXPECT_TRUE(complete);
    addStroke(vertices, {{20, 50}});
    addStroke(vertices, {{60, 50}});
    render(0);
    EXPECT_TRUE(complete);

    // Segments longer than the counter can reach: never complete, and no overflow.
    vertices.clear();
    addStroke(vertices, {{-2000000000, 0}, {2000000000, 0}, {-2000000000, 0}});
    render(4294967295u);
    EXPECT_FALSE(complete);
}

}  // namespace
}  // namespace rek
