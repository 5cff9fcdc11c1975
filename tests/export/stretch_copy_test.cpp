#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "export/stretch_copy.h"

namespace rek {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kOrange = 0xEE9C00;
constexpr std::uint32_t kBlack = 0x000000;

// Reads a pixel of the top-down target; its top byte must be clear.
std::uint32_t at(const std::vector<std::uint32_t>& target, int width, int, int x, int y) {
    const std::uint32_t pixel = target[static_cast<std::size_t>(y) * width + x];
    EXPECT_EQ(pixel >> 24, 0u);
    return pixel;
}

std::vector<std::uint32_t> stretch(const std::vector<std::uint32_t>& source, int stride, int sw,
                                   int sh, int tw, int th) {
    // One guard word past the end shows a write beyond the target.
    std::vector<std::uint32_t> target(static_cast<std::size_t>(tw) * th + 1, 0xABABABAB);
    stretchCopyAnd(source.data(), static_cast<std::size_t>(stride), sw, sh, target.data(), tw, th);
    EXPECT_EQ(target.back(), 0xABABABABu);
    target.pop_back();
    return target;
}

TEST(StretchCopy, EqualSizesCopyTopDownWithoutTheTopByte) {
    // A stride wider than the region: the rest of the row is never read.
    const std::vector<std::uint32_t> source = {0xFF123456, 0xFF654321, 0xFFFFFFFF,
                                               0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF};
    const auto target = stretch(source, 3, 2, 2, 2, 2);
    EXPECT_EQ(target[0], 0x123456u);  // top row first
    EXPECT_EQ(at(target, 2, 2, 0, 0), 0x123456u);
    EXPECT_EQ(at(target, 2, 2, 1, 0), 0x654321u);
    EXPECT_EQ(at(target, 2, 2, 0, 1), 0x0000FFu);
    EXPECT_EQ(at(target, 2, 2, 1, 1), 0x00FF00u);
}

TEST(StretchCopy, AShrinkKeepsThinDarkLinesByAndingTheDroppedPixels) {
    // A one-pixel black column at x = 3 and a row at y = 5 on orange, shrunk 8x8 -> 3x2.
    const int w = 8, h = 8;
    std::vector<std::uint32_t> source(w * h, kOrange);
    for (int y = 0; y < h; ++y)
        source[y * w + 3] = kBlack;
    for (int x = 0; x < w; ++x)
        source[5 * w + x] = kBlack;
    const auto target = stretch(source, w, w, h, 3, 2);
    // Columns 0..1, 2..4, 5..7; rows 0..3, 4..7.
    EXPECT_EQ(at(target, 3, 2, 0, 0), kOrange);
    EXPECT_EQ(at(target, 3, 2, 1, 0), kBlack);
    EXPECT_EQ(at(target, 3, 2, 2, 0), kOrange);
    EXPECT_EQ(at(target, 3, 2, 0, 1), kBlack);
    EXPECT_EQ(at(target, 3, 2, 2, 1), kBlack);
    // Two light colours meet as their AND, never an average.
    const auto mixed = stretch({0xFFF0F0F0, 0xFF0F0FFF}, 2, 2, 1, 1, 1);
    EXPECT_EQ(at(mixed, 1, 1, 0, 0), 0x0000F0u);
}

TEST(StretchCopy, AnEnlargementRepeatsPixels) {
    const auto target = stretch({kWhite, kBlack, kOrange, kWhite}, 2, 2, 2, 5, 3);
    // Columns 0..2 come from x 0 (t * 2 / 5), 3..4 from x 1; rows 0..1 from y 0, row 2 from y 1.
    const std::uint32_t expected[3][5] = {{kWhite, kWhite, kWhite, kBlack, kBlack},
                                          {kWhite, kWhite, kWhite, kBlack, kBlack},
                                          {kOrange, kOrange, kOrange, kWhite, kWhite}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(at(target, 5, 3, x, y), expected[y][x]) << x << "," << y;
}

TEST(StretchCopy, MixesShrinkingAndGrowingAxes) {
    // 4 x 1 -> 2 x 3: columns pair up by AND, the one row is repeated three times.
    const auto target = stretch({kOrange, kBlack, kWhite, kWhite}, 4, 4, 1, 2, 3);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(at(target, 2, 3, 0, y), kBlack);
        EXPECT_EQ(at(target, 2, 3, 1, y), kWhite);
    }
}

}  // namespace
}  // namespace rek
