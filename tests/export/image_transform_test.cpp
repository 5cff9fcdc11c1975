#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "export/image_library.h"
#include "export/resample.h"
#include "export_test_support.h"

namespace rek {
namespace {

const ColorRgb kBackground{238, 156, 0};

TEST(ImageFromSurface, CopiesTopDownWithoutTheTopByteAndRefusesWhatCannotBeAnImage) {
    // A surface 4 pixels wide of which the left 3 x 2 are copied.
    std::vector<std::uint32_t> surface = {0xFF112233, 0x00112233, 0xFF778899, 0xFFFFFFFF,
                                          0xFF000001, 0xFF000002, 0xFF000003, 0xFFFFFFFF};
    const auto image = Image::copyRgb(3, 2, surface.data(), 4);
    ASSERT_NE(image, nullptr);
    std::fill(surface.begin(), surface.end(), 0xEEEEEEEEu);  // the surface is drawn over
    EXPECT_EQ(image->pixel(2, 0), (ColorRgb{0x77, 0x88, 0x99}));
    EXPECT_EQ(image->pixel(2, 1), (ColorRgb{0, 0, 3}));
    // The same colour with and without the top byte is one colour.
    ASSERT_TRUE(reduceColors(*image));
    EXPECT_EQ(image->palette().size(), 5u);

    const std::vector<std::uint32_t> pixels(64);
    EXPECT_EQ(Image::fromRgb(3, 2, std::vector<std::uint32_t>(5)), nullptr);
    EXPECT_EQ(Image::fromRgb(-1, -1, std::vector<std::uint32_t>(1)), nullptr);
    EXPECT_EQ(Image::copyRgb(8, 8, nullptr, 8), nullptr);
    EXPECT_EQ(Image::copyRgb(8, 8, pixels.data(), 7), nullptr);  // rows would overlap
    EXPECT_EQ(Image::copyRgb(8, -8, pixels.data(), 8), nullptr);
    // Sizes whose byte counts overflow 32 bits or are beyond any sensible picture.
    EXPECT_EQ(Image::copyRgb(65536, 65536, pixels.data(), 65536), nullptr);
    EXPECT_EQ(Image::copyRgb(std::numeric_limits<std::int32_t>::max(), 1, pixels.data(),
                             std::numeric_limits<std::size_t>::max()),
              nullptr);
    EXPECT_EQ(Image::copyRgb(kMaxImageSide, kMaxImageSide, pixels.data(), kMaxImageSide), nullptr);
    auto small = Image::fromRgb(2, 2, std::vector<std::uint32_t>(4));
    EXPECT_FALSE(resize(*small, 0, 4));
    EXPECT_FALSE(resize(*small, kMaxImageSide + 1, 1));
}

// The resampler as exports first had it, made anew for every frame and rounding with
// std::lround: what anti-aliased frames have always looked like. The one an export now keeps
// for all its frames has to give exactly the same pixels.
std::vector<std::uint32_t> firstResampler(const std::vector<std::uint32_t>& source, int sw, int sh,
                                          int tw, int th) {
    struct Tap {
        int source;
        float weight;
    };
    auto filter = [](int s, int t) {
        std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(t));
        if (t < s) {
            for (std::int64_t i = 0; i < t; ++i) {
                const std::int64_t begin = i * s;
                const std::int64_t end = begin + s;
                for (std::int64_t j = begin / t; j * t < end && j < s; ++j) {
                    const std::int64_t overlap =
                        std::min(end, (j + 1) * t) - std::max(begin, j * t);
                    if (overlap > 0)
                        taps[i].push_back(
                            {static_cast<int>(j), static_cast<float>(double(overlap) / s)});
                }
            }
        } else {
            const double scale = static_cast<double>(s) / t;
            for (int i = 0; i < t; ++i) {
                const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, s - 1.0);
                const int left = static_cast<int>(std::floor(centre));
                const double fraction = centre - left;
                if (fraction <= 0.0 || left + 1 >= s) {
                    taps[i].push_back({left, 1.0F});
                } else {
                    taps[i].push_back({left, static_cast<float>(1.0 - fraction)});
                    taps[i].push_back({left + 1, static_cast<float>(fraction)});
                }
            }
        }
        return taps;
    };
    const auto horizontal = filter(sw, tw);
    const auto vertical = filter(sh, th);
    std::vector<float> rows(static_cast<std::size_t>(tw) * sh * 3);
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < tw; ++x) {
            float r = 0, g = 0, b = 0;
            for (const Tap& tap : horizontal[x]) {
                const std::uint32_t p = source[static_cast<std::size_t>(y) * sw + tap.source];
                r += tap.weight * static_cast<float>((p >> 16) & 0xFF);
                g += tap.weight * static_cast<float>((p >> 8) & 0xFF);
                b += tap.weight * static_cast<float>(p & 0xFF);
            }
            float* out = rows.data() + (static_cast<std::size_t>(y) * tw + x) * 3;
            out[0] = r;
            out[1] = g;
            out[2] = b;
        }
    }
    std::vector<std::uint32_t> target(static_cast<std::size_t>(tw) * th);
    std::vector<float> sums(static_cast<std::size_t>(tw) * 3);
    for (int y = 0; y < th; ++y) {
        std::fill(sums.begin(), sums.end(), 0.0F);
        for (const Tap& tap : vertical[y])
            for (std::size_t c = 0; c < sums.size(); ++c)
                sums[c] += tap.weight * rows[static_cast<std::size_t>(tap.source) * tw * 3 + c];
        for (int x = 0; x < tw; ++x) {
            auto channel = [&](int c) {
                return static_cast<std::uint32_t>(
                    std::clamp(std::lround(sums[x * 3 + c]), 0L, 255L));
            };
            target[static_cast<std::size_t>(y) * tw + x] =
                (channel(0) << 16) | (channel(1) << 8) | channel(2);
        }
    }
    return target;
}

TEST(Resampler, KeptForAWholeExportItGivesExactlyWhatTheFirstResamplerGave) {
    const int sw = 97;
    const int sh = 61;
    const std::size_t stride = 120;  // a wider drawing surface
    std::uint32_t state = 12345;
    auto random = [&] {
        state = state * 1664525u + 1013904223u;
        return state;
    };
    for (auto [tw, th] : {std::pair{48, 30}, std::pair{31, 61}, std::pair{200, 100},
                          std::pair{97, 61}, std::pair{40, 90}, std::pair{1, 1}}) {
        detail::Resampler resampler(sw, sh, tw, th);
        // Two frames through the same resampler: nothing of the first may stay behind.
        for (int frame = 0; frame < 2; ++frame) {
            std::vector<std::uint32_t> surface(stride * sh);
            for (std::uint32_t& p : surface)
                p = random();  // the top byte too: it must not count
            std::vector<std::uint32_t> packed(static_cast<std::size_t>(sw) * sh);
            for (int y = 0; y < sh; ++y)
                for (int x = 0; x < sw; ++x)
                    packed[static_cast<std::size_t>(y) * sw + x] =
                        surface[y * stride + x] & 0xFFFFFF;
            std::vector<std::uint32_t> target(static_cast<std::size_t>(tw) * th, 0xDEADBEEF);
            resampler.run(surface.data(), stride, target.data());
            EXPECT_EQ(target, firstResampler(packed, sw, sh, tw, th)) << tw << "x" << th;
            EXPECT_EQ(detail::resampleRgb(packed, sw, sh, tw, th), target) << tw << "x" << th;
        }
    }
    // Halves round away from zero, as std::lround does.
    const std::vector<std::uint32_t> halves = {0x01FF00, 0x00FE00};
    EXPECT_EQ(detail::resampleRgb(halves, 2, 1, 1, 1), (std::vector<std::uint32_t>{0x01FF00}));
}

TEST(ImageReduceColors, UpTo256ColoursAreExactAndMoreAreQuantisedClosely) {
    auto exact = test::makeImage(16, 16, [](int x, int y) {
        return ColorRgb{std::uint8_t(x * 16), std::uint8_t(y * 16), 1};
    });
    ASSERT_TRUE(reduceColors(*exact));
    EXPECT_EQ(exact->palette().size(), 256u);
    EXPECT_EQ(exact->pixel(15, 9), (ColorRgb{240, 144, 1}));

    // 64 * 64 distinct colours, mostly background as in a smoothed frame.
    const auto colourAt = [](int x, int y) {
        return y < 32 ? kBackground
                      : ColorRgb{std::uint8_t(x * 4), std::uint8_t(y * 4), std::uint8_t(x + y)};
    };
    auto image = test::makeImage(64, 64, colourAt);
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
