#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "export/image_library.h"
#include "image_test_support.h"

namespace rek {
namespace {

using test::makeImage;
using test::makePixels;

const ColorRgb kBlack{0, 0, 0};
const ColorRgb kWhite{255, 255, 255};
const ColorRgb kBackground{238, 156, 0};

TEST(ImageFromRgb, TakesTopDownPixelsAndDropsTheTopByte) {
    const auto image =
        Image::fromRgb(3, 2, makePixels(3, 2, [](int x, int y) {
                           return ColorRgb{std::uint8_t(x * 10), std::uint8_t(y * 100), 7};
                       }));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width(), 3);
    EXPECT_EQ(image->height(), 2);
    EXPECT_FALSE(image->isReduced());
    EXPECT_EQ(image->pixel(0, 0), (ColorRgb{0, 0, 7}));  // the first pixel is the top-left
    EXPECT_EQ(image->pixel(2, 1), (ColorRgb{20, 100, 7}));

    // A 32-bit RGB surface fills the top byte: the same colour with and without it is one
    // colour, in the palette and in the file.
    const auto surface = Image::fromRgb(2, 1, {0xFF010203u, 0x00010203u});
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(reduceColors(*surface));
    EXPECT_EQ(surface->palette().size(), 1u);

    // A buffer that does not match the size, or a size beyond the bounds, is refused.
    EXPECT_EQ(Image::fromRgb(3, 2, std::vector<std::uint32_t>(5)), nullptr);
    EXPECT_EQ(Image::fromRgb(3, 2, std::vector<std::uint32_t>(7)), nullptr);
    EXPECT_EQ(Image::fromRgb(0, 2, {}), nullptr);
    EXPECT_EQ(Image::fromRgb(-1, -1, std::vector<std::uint32_t>(1)), nullptr);
}

TEST(ImageCopyRgb, CopiesARegionOfAWiderSurfaceAndKeepsNoReference) {
    // A surface 4 pixels wide of which the left 3 x 2 are copied.
    std::vector<std::uint32_t> surface = {0xFF112233, 0xFF445566, 0xFF778899, 0xFFFFFFFF,
                                          0xFF000001, 0xFF000002, 0xFF000003, 0xFFFFFFFF};
    const auto image = Image::copyRgb(3, 2, surface.data(), 4);
    ASSERT_NE(image, nullptr);
    std::fill(surface.begin(), surface.end(), 0xEEEEEEEEu);  // the surface is drawn over
    EXPECT_EQ(image->pixel(0, 0), (ColorRgb{0x11, 0x22, 0x33}));
    EXPECT_EQ(image->pixel(2, 0), (ColorRgb{0x77, 0x88, 0x99}));
    EXPECT_EQ(image->pixel(0, 1), (ColorRgb{0, 0, 1}));
    EXPECT_EQ(image->pixel(2, 1), (ColorRgb{0, 0, 3}));

    const std::uint32_t sameColour[] = {0xFF010203u, 0x00010203u};
    const auto copy = Image::copyRgb(2, 1, sameColour, 2);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(reduceColors(*copy));
    EXPECT_EQ(copy->palette().size(), 1u);
}

TEST(ImageCopyRgb, RefusesWhatCannotBeAnImage) {
    const std::vector<std::uint32_t> pixels(64);
    EXPECT_NE(Image::copyRgb(8, 8, pixels.data(), 8), nullptr);
    EXPECT_EQ(Image::copyRgb(8, 8, nullptr, 8), nullptr);
    EXPECT_EQ(Image::copyRgb(8, 8, pixels.data(), 7), nullptr);  // rows would overlap
    EXPECT_EQ(Image::copyRgb(0, 8, pixels.data(), 8), nullptr);
    EXPECT_EQ(Image::copyRgb(8, -8, pixels.data(), 8), nullptr);
    // Sizes whose byte counts overflow 32 bits or are beyond any sensible picture.
    EXPECT_EQ(Image::copyRgb(65536, 65536, pixels.data(), 65536), nullptr);
    EXPECT_EQ(Image::copyRgb(std::numeric_limits<std::int32_t>::max(), 1, pixels.data(),
                             std::numeric_limits<std::size_t>::max()),
              nullptr);
    EXPECT_EQ(Image::copyRgb(kMaxImageSide, kMaxImageSide, pixels.data(), kMaxImageSide), nullptr);
}

TEST(ImageResize, ShrinkAveragesTheCoveredArea) {
    // A checkerboard of single pixels becomes even grey at half size.
    auto image = makeImage(4, 4, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
    ASSERT_TRUE(resize(*image, 2, 2));
    ASSERT_EQ(image->width(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(image->pixel(x, y), (ColorRgb{128, 128, 128}));
        }
    }
    // A non-integer ratio: 3 columns of 0, 90, 180 into 2 weigh the middle column half each.
    image = makeImage(3, 1, [](int x, int) { return ColorRgb{std::uint8_t(x * 90), 0, 0}; });
    ASSERT_TRUE(resize(*image, 2, 1));
    EXPECT_EQ(image->pixel(0, 0).red, 30);   // (0 * 1 + 90 * 0.5) / 1.5
    EXPECT_EQ(image->pixel(1, 0).red, 150);  // (90 * 0.5 + 180) / 1.5
}

TEST(ImageResize, EnlargeIsSmoothAndEachAxisIndependent) {
    // Black | white, enlarged 8 times across and kept in height.
    auto image = makeImage(2, 3, [](int x, int) { return x ? kWhite : kBlack; });
    ASSERT_TRUE(resize(*image, 16, 3));
    int previous = -1;
    int greys = 0;
    for (int x = 0; x < 16; ++x) {
        const ColorRgb c = image->pixel(x, 1);
        EXPECT_EQ(c, image->pixel(x, 0));  // height unchanged: rows are not mixed
        EXPECT_GE(c.red, previous);
        previous = c.red;
        greys += (c.red > 0 && c.red < 255) ? 1 : 0;
    }
    EXPECT_EQ(image->pixel(0, 0), kBlack);
    EXPECT_EQ(image->pixel(15, 0), kWhite);
    EXPECT_GE(greys, 6);  // a ramp, not repeated pixels

    // Shrink one axis while enlarging the other.
    image = makeImage(4, 2, [](int x, int y) { return (x % 2) ? kWhite : (y ? kWhite : kBlack); });
    ASSERT_TRUE(resize(*image, 2, 4));
    EXPECT_EQ(image->pixel(0, 0), (ColorRgb{128, 128, 128}));
    EXPECT_EQ(image->pixel(0, 3), kWhite);
}

TEST(ImageResize, SameSizeIsUnchangedAndBadSizesAreRefused) {
    auto image = makeImage(5, 4, [](int x, int y) {
        return ColorRgb{std::uint8_t(x * 40), std::uint8_t(y * 60), 9};
    });
    ASSERT_TRUE(resize(*image, 5, 4));
    EXPECT_EQ(image->pixel(3, 2), (ColorRgb{120, 120, 9}));
    EXPECT_FALSE(resize(*image, 0, 4));
    EXPECT_FALSE(resize(*image, 4, -1));
    EXPECT_FALSE(resize(*image, kMaxImageSide + 1, 1));
    EXPECT_EQ(image->width(), 5);
    // A reduced image is resampled from its palette colours and is true colour again.
    ASSERT_TRUE(reduceColors(*image));
    ASSERT_TRUE(resize(*image, 10, 8));
    EXPECT_FALSE(image->isReduced());
    EXPECT_EQ(image->pixel(0, 0), (ColorRgb{0, 0, 9}));
}

TEST(ImageReduceColors, FewColoursGiveAnExactPalette) {
    const auto colourAt = [](int x, int y) {
        return (y == 2) ? kBlack : (x == y + 1 ? ColorRgb{90, 90, 90} : kBackground);
    };
    auto image = makeImage(7, 5, colourAt);
    ASSERT_TRUE(reduceColors(*image));
    ASSERT_TRUE(image->isReduced());
    ASSERT_EQ(image->palette().size(), 3u);
    EXPECT_EQ(image->palette()[0], kBackground);  // top-left colour first
    EXPECT_EQ(image->indices().size(), 35u);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(image->pixel(x, y), colourAt(x, y));
        }
    }
    EXPECT_TRUE(reduceColors(*image));  // already reduced: unchanged
    EXPECT_EQ(image->palette().size(), 3u);

    // Exactly 256 colours still round-trip exactly.
    image = makeImage(16, 16, [](int x, int y) {
        return ColorRgb{std::uint8_t(x * 16), std::uint8_t(y * 16), 1};
    });
    ASSERT_TRUE(reduceColors(*image));
    EXPECT_EQ(image->palette().size(), 256u);
    EXPECT_EQ(image->pixel(15, 9), (ColorRgb{240, 144, 1}));
}

TEST(ImageReduceColors, ManyColoursAreQuantisedClosely) {
    // 64 * 64 distinct colours, mostly background as in a smoothed frame.
    const auto colourAt = [](int x, int y) {
        return y < 32 ? kBackground
                      : ColorRgb{std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t(x + y)};
    };
    auto image = makeImage(64, 64, colourAt);
    ASSERT_TRUE(reduceColors(*image));
    EXPECT_LE(image->palette().size(), 256u);
    EXPECT_GT(image->palette().size(), 64u);
    long worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const ColorRgb a = image->pixel(x, y);
            const ColorRgb b = colourAt(x, y);
            worst = std::max({worst, std::labs(a.red - b.red), std::labs(a.green - b.green),
                              std::labs(a.blue - b.blue)});
        }
    }
    EXPECT_LE(worst, 24);
    EXPECT_EQ(image->pixel(5, 5), kBackground);  // the dominant colour is kept exact
}

}  // namespace
}  // namespace rek
