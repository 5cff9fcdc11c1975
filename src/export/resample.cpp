#include "export/resample.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace rek::detail {

namespace {

struct Tap {
    int source;
    float weight;
};

// For each target position along one axis, the source positions that contribute and their
// weights (summing to 1).
struct AxisFilter {
    std::vector<std::size_t> first;  // index into taps, one more entry than target positions
    std::vector<Tap> taps;
};

AxisFilter makeAreaFilter(int sourceLength, int targetLength) {
    // Measured in 1/targetLength of a source pixel, target pixel i covers
    // [i * s, (i + 1) * s) and source pixel j covers [j * t, (j + 1) * t): exact integers.
    AxisFilter filter;
    const std::int64_t s = sourceLength;
    const std::int64_t t = targetLength;
    filter.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    for (std::int64_t i = 0; i < t; ++i) {
        filter.first.push_back(filter.taps.size());
        const std::int64_t begin = i * s;
        const std::int64_t end = begin + s;
        for (std::int64_t j = begin / t; j * t < end && j < s; ++j) {
            const std::int64_t overlap = std::min(end, (j + 1) * t) - std::max(begin, j * t);
            if (overlap > 0) {
                filter.taps.push_back(
                    {static_cast<int>(j), static_cast<float>(static_cast<double>(overlap) / s)});
            }
        }
    }
    filter.first.push_back(filter.taps.size());
    return filter;
}

AxisFilter makeLinearFilter(int sourceLength, int targetLength) {
    AxisFilter filter;
    filter.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    const double scale = static_cast<double>(sourceLength) / targetLength;
    for (int i = 0; i < targetLength; ++i) {
        filter.first.push_back(filter.taps.size());
        const double centre = std::clamp((i + 0.5) * scale - 0.5, 0.0, sourceLength - 1.0);
        const int left = static_cast<int>(std::floor(centre));
        const double fraction = centre - left;
        if (fraction <= 0.0 || left + 1 >= sourceLength) {
            filter.taps.push_back({left, 1.0F});
        } else {
            filter.taps.push_back({left, static_cast<float>(1.0 - fraction)});
            filter.taps.push_back({left + 1, static_cast<float>(fraction)});
        }
    }
    filter.first.push_back(filter.taps.size());
    return filter;
}

AxisFilter makeFilter(int sourceLength, int targetLength) {
    return targetLength < sourceLength ? makeAreaFilter(sourceLength, targetLength)
                                       : makeLinearFilter(sourceLength, targetLength);
}

std::uint8_t toChannel(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

std::vector<std::uint32_t> resampleRgb(std::span<const std::uint32_t> source, int sourceWidth,
                                       int sourceHeight, int targetWidth, int targetHeight) {
    const AxisFilter horizontal = makeFilter(sourceWidth, targetWidth);
    const AxisFilter vertical = makeFilter(sourceHeight, targetHeight);

    // Horizontal pass into floating-point rows (3 channels), then the vertical pass; rounding
    // happens once at the end so that averages are exact to the nearest step.
    const auto tw = static_cast<std::size_t>(targetWidth);
    std::vector<float> rows(tw * static_cast<std::size_t>(sourceHeight) * 3);
    for (int y = 0; y < sourceHeight; ++y) {
        const std::uint32_t* in = source.data() + static_cast<std::size_t>(y) * sourceWidth;
        float* out = rows.data() + static_cast<std::size_t>(y) * tw * 3;
        for (std::size_t x = 0; x < tw; ++x) {
            float r = 0, g = 0, b = 0;
            for (std::size_t k = horizontal.first[x]; k < horizontal.first[x + 1]; ++k) {
                const Tap& tap = horizontal.taps[k];
                const std::uint32_t p = in[tap.source];
                r += tap.weight * static_cast<float>((p >> 16) & 0xFF);
                g += tap.weight * static_cast<float>((p >> 8) & 0xFF);
                b += tap.weight * static_cast<float>(p & 0xFF);
            }
            out[x * 3] = r;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = b;
        }
    }

    std::vector<std::uint32_t> target(tw * static_cast<std::size_t>(targetHeight));
    std::vector<float> accumulator(tw * 3);
    for (int y = 0; y < targetHeight; ++y) {
        std::fill(accumulator.begin(), accumulator.end(), 0.0F);
        for (std::size_t k = vertical.first[y]; k < vertical.first[y + 1]; ++k) {
            const Tap& tap = vertical.taps[k];
            const float* row = rows.data() + static_cast<std::size_t>(tap.source) * tw * 3;
            for (std::size_t c = 0; c < tw * 3; ++c) {
                accumulator[c] += tap.weight * row[c];
            }
        }
        std::uint32_t* out = target.data() + static_cast<std::size_t>(y) * tw;
        for (std::size_t x = 0; x < tw; ++x) {
            out[x] = (std::uint32_t{toChannel(accumulator[x * 3])} << 16) |
                     (std::uint32_t{toChannel(accumulator[x * 3 + 1])} << 8) |
                     toChannel(accumulator[x * 3 + 2]);
        }
    }
    return target;
}

}  // namespace rek::detail
