#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "export/stretch_copy.h"

namespace rek {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kOrange = 0xEE9C00;
constexpr std::uint32_t kBlack = 0x000000;

// The top-down target, its top bytes clear; one guard word past the end shows a write beyond.
std::vector<std::uint32_t> stretch(const std::vector<std::uint32_t>& source, int stride, int sw,
                                   int sh, int tw, int th) {
    std::vector<std::uint32_t> target(static_cast<std::size_t>(tw) * th + 1, 0xABABABAB);
    stretchCopyAnd(source.data(), static_cast<std::size_t>(stride), sw, sh, target.data(), tw, th);
    EXPECT_EQ(target.back(), 0xABABABABu);
    target.pop_back();
    return target;
}

TEST(StretchCopy, ShrinksByAndingSoThinDarkLinesStay) {
    // A stride wider than the region: the rest of the row is never read.
    EXPECT_EQ(stretch({0xFF123456, 0xFF654321, 0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFFFFFFFF}, 3,
                      2, 2, 2, 2),
              (std::vector<std::uint32_t>{0x123456, 0x654321, 0x0000FF, 0x00FF00}));
    // A one-pixel black column at x = 3 and a row at y = 5 on orange, shrunk 8x8 -> 3x2:
    // columns 0..1, 2..4, 5..7; rows 0..3, 4..7.
    std::vector<std::uint32_t> source(64, kOrange);
    for (int i = 0; i < 8; ++i)
        source[i * 8 + 3] = source[5 * 8 + i] = kBlack;
    EXPECT_EQ(stretch(source, 8, 8, 8, 3, 2),
              (std::vector<std::uint32_t>{kOrange, kBlack, kOrange, kBlack, kBlack, kBlack}));
    // Two light colours meet as their AND, never an average.
    EXPECT_EQ(stretch({0xFFF0F0F0, 0xFF0F0FFF}, 2, 2, 1, 1, 1),
              (std::vector<std::uint32_t>{0x0000F0}));
}

TEST(StretchCopy, EnlargesByRepeatingPixelsEachAxisOnItsOwn) {
    // Columns 0..2 come from x 0 (t * 2 / 5), 3..4 from x 1; rows 0..1 from y 0, row 2 from y 1.
    EXPECT_EQ(stretch({kWhite, kBlack, kOrange, kWhite}, 2, 2, 2, 5, 3),
              (std::vector<std::uint32_t>{kWhite, kWhite, kWhite, kBlack, kBlack,  //
                                          kWhite, kWhite, kWhite, kBlack, kBlack,  //
                                          kOrange, kOrange, kOrange, kWhite, kWhite}));
    // 4 x 1 -> 2 x 3: columns pair up by AND, the one row is repeated three times.
    EXPECT_EQ(stretch({kOrange, kBlack, kWhite, kWhite}, 4, 4, 1, 2, 3),
              (std::vector<std::uint32_t>{kBlack, kWhite, kBlack, kWhite, kBlack, kWhite}));
}

}  // namespace
}  // namespace rek
