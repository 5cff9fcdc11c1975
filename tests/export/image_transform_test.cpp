#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "export/image_library.h"
#include "image_test_support.h"

namespace rek {
namespace {

using test::makeCapture;
using test::makeImage;

const ColorRgb kBlack{0, 0, 0};
const ColorRgb kWhite{255, 255, 255};
const ColorRgb kBackground{238, 156, 0};

TEST(ImageFromDib, KeepsItsOwnCopyInPictureOrder) {
    std::vector<std::uint8_t> capture = makeCapture(3, 2, [](int x, int y) {
        return ColorRgb{std::uint8_t(x * 10), std::uint8_t(y * 100), 7};
    });
    const auto image = Image::fromDib(CaptureHeader::forSize(3, 2), capture.data());
    ASSERT_NE(image, nullptr);
    std::fill(capture.begin(), capture.end(), 0xEE);  // the caller reuses its buffer
    EXPECT_EQ(image->width(), 3);
    EXPECT_EQ(image->height(), 2);
    EXPECT_FALSE(image->isReduced());
    EXPECT_EQ(image->pixel(0, 0), (ColorRgb{0, 0, 7}));  // first row of the buffer is the bottom
    EXPECT_EQ(image->pixel(2, 1), (ColorRgb{20, 100, 7}));
}

TEST(ImageFromDib, RefusesHeadersOtherThanTheCaptureFormat) {
    const std::vector<std::uint8_t> pixels(64 * 4);
    const auto refused = [&](auto change) {
        CaptureHeader header = CaptureHeader::forSize(8, 8);
        change(header);
        return Image::fromDib(header, pixels.data()) == nullptr;
    };
    EXPECT_FALSE(refused([](CaptureHeader&) {}));
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.width = 0; }));
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.height = -8; }));  // top-down
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.bitCount = 24; }));
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.compression = 3; }));
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.headerSize = 108; }));
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.planes = 2; }));
    // Byte counts that overflow 32 bits or are beyond any sensible picture.
    EXPECT_TRUE(refused([](CaptureHeader& h) { h.width = h.height = 65536; }));
    EXPECT_TRUE(
        refused([](CaptureHeader& h) { h.width = std::numeric_limits<std::int32_t>::max(); }));
    EXPECT_TRUE(refused([](CaptureHeader& h) {
        h.width = kMaxImageSide;
        h.height = kMaxImageSide;
    }));
    EXPECT_EQ(Image::fromDib(CaptureHeader::forSize(8, 8), nullptr), nullptr);
    EXPECT_EQ(Image::fromDib(CaptureHeader::forSize(8, 8), std::span(pixels).first(255)), nullptr);
    EXPECT_NE(Image::fromDib(CaptureHeader::forSize(8, 8), std::span(pixels)), nullptr);
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
