#include "render/geometry_ops.h"

#include <gtest/gtest.h>

#include <limits>

#include "vertex_builders.h"

namespace rek {
namespace {

TEST(ScaleAboutPivot, TruncatesTowardZeroWithoutLosingAPixelToRoundingNoise) {
    EXPECT_EQ(scaleAboutPivot({130, 140}, {100, 100}, 0.5f), (Point{115, 120}));
    EXPECT_EQ(scaleAboutPivot({-37, 512}, {100, 100}, 0.0f), (Point{100, 100}));
    // -1.5 becomes -1 (not -2), 1.5 becomes 1.
    EXPECT_EQ(scaleAboutPivot({-3, 0}, {0, 0}, 0.5f), (Point{-1, 0}));
    EXPECT_EQ(scaleAboutPivot({3, 0}, {0, 0}, 0.5f), (Point{1, 0}));

    // Off-axis points come back from cos/sin a hair below their exact value; truncating that
    // would shift the scale preview by a pixel the moment scale mode starts at factor 1.
    for (int x = -40; x <= 40; ++x) {
        for (int y = -40; y <= 40; ++y) {
            ASSERT_EQ(scaleAboutPivot({100 + x, 200 + y}, {100, 200}, 1.0f),
                      (Point{100 + x, 200 + y}));
            ASSERT_EQ(scaleAboutPivot({100 + x, 200 + y}, {100, 200}, 2.0f),
                      (Point{100 + 2 * x, 200 + 2 * y}));
        }
    }
    // A factor that a float cannot hold exactly still truncates as its true value says.
    EXPECT_EQ(scaleAboutPivot({10, 0}, {0, 0}, 0.7f), (Point{6, 0}));

    // Not clamped, but saturated at the integer range.
    EXPECT_EQ(scaleAboutPivot({20000, 0}, {0, 0}, 2.0f), (Point{40000, 0}));
    const Point far = scaleAboutPivot({30000, 0}, {-30000, 0}, 1.0e9f);
    EXPECT_EQ(far.x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(scaleAboutPivot({5, 5}, {1, 2}, std::numeric_limits<float>::quiet_NaN()),
              (Point{1, 2}));
}

TEST(TotalLineLength, SumsJoinedSegmentsOnlyWithoutOverflow) {
    VertexList vertices;
    test::addStroke(vertices, {{0, 0}, {3, 4}, {3, 14}});
    test::addStroke(vertices, {{100, 100}, {106, 108}});
    Vertex odd = test::makeVertex(90, 0, true);
    odd.kind = 7;
    vertices.push_back(odd);
    EXPECT_DOUBLE_EQ(totalLineLength(vertices), 5.0 + 10.0 + 10.0);

    constexpr int kMin = std::numeric_limits<std::int32_t>::min();
    constexpr int kMax = std::numeric_limits<std::int32_t>::max();
    vertices.clear();
    test::addStroke(vertices, {{kMin, 0}, {kMax, 0}});
    EXPECT_DOUBLE_EQ(totalLineLength(vertices), 4294967295.0);
}

}  // namespace
}  // namespace rek
