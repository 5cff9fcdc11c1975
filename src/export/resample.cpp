#include "export/resample.h"

#include <algorithm>
#include <cmath>

namespace rek::detail {

namespace {

// Rounds half away from zero as lround does, clamped to a channel; the sum is taken in double
// so that a float just below one half cannot be pushed over it.
std::uint32_t toChannel(float value) {
    const double rounded = static_cast<double>(value) + 0.5;
    if (!(rounded > 0.0))
        return 0;
    return rounded >= 255.0 ? 255u : static_cast<std::uint32_t>(rounded);
}

}  // namespace

Resampler::AxisFilter Resampler::makeFilter(int sourceLength, int targetLength) {
    AxisFilter filter;
    filter.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    if (targetLength < sourceLength) {
        // Area averaging. Measured in 1/targetLength of a source pixel, target pixel i covers
        // [i * s, (i + 1) * s) and source pixel j covers [j * t, (j + 1) * t): exact integers.
        const std::int64_t s = sourceLength;
        const std::int64_t t = targetLength;
        for (std::int64_t i = 0; i < t; ++i) {
            filter.first.push_back(filter.taps.size());
            const std::int64_t begin = i * s;
            const std::int64_t end = begin + s;
            for (std::int64_t j = begin / t; j * t < end && j < s; ++j) {
                const std::int64_t overlap = std::min(end, (j + 1) * t) - std::max(begin, j * t);
                if (overlap > 0) {
                    filter.taps.push_back({static_cast<int>(j),
                                           static_cast<float>(static_cast<double>(overlap) / s)});
                }
            }
        }
    } else {
        // Bilinear, or a plain copy for equal lengths (every centre falls on a source pixel).
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
    }
    filter.first.push_back(filter.taps.size());
    return filter;
}

Resampler::Resampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight)
    : sourceWidth_(sourceWidth),
      sourceHeight_(sourceHeight),
      targetWidth_(targetWidth),
      targetHeight_(targetHeight),
      horizontal_(makeFilter(sourceWidth, targetWidth)),
      vertical_(makeFilter(sourceHeight, targetHeight)),
      channels_(static_cast<std::size_t>(sourceWidth) * 3),
      rows_(static_cast<std::size_t>(targetWidth) * static_cast<std::size_t>(sourceHeight) * 3),
      sums_(static_cast<std::size_t>(targetWidth) * 3) {}

void Resampler::run(const std::uint32_t* source, std::size_t sourceStride, std::uint32_t* target) {
    // Horizontal pass into floating-point rows (3 channels), then the vertical pass; rounding
    // happens once at the end so that averages are exact to the nearest step.
    const auto sw = static_cast<std::size_t>(sourceWidth_);
    const auto tw = static_cast<std::size_t>(targetWidth_);
    const Tap* hTaps = horizontal_.taps.data();
    const std::size_t* hFirst = horizontal_.first.data();
    float* channels = channels_.data();
    for (int y = 0; y < sourceHeight_; ++y) {
        const std::uint32_t* in = source + static_cast<std::size_t>(y) * sourceStride;
        for (std::size_t x = 0; x < sw; ++x) {
            const std::uint32_t p = in[x];
            channels[x * 3] = static_cast<float>((p >> 16) & 0xFF);
            channels[x * 3 + 1] = static_cast<float>((p >> 8) & 0xFF);
            channels[x * 3 + 2] = static_cast<float>(p & 0xFF);
        }
        float* out = rows_.data() + static_cast<std::size_t>(y) * tw * 3;
        for (std::size_t x = 0; x < tw; ++x) {
            float r = 0, g = 0, b = 0;
            for (std::size_t k = hFirst[x]; k < hFirst[x + 1]; ++k) {
                const float* c = channels + static_cast<std::size_t>(hTaps[k].source) * 3;
                const float w = hTaps[k].weight;
                r += w * c[0];
                g += w * c[1];
                b += w * c[2];
            }
            out[x * 3] = r;
            out[x * 3 + 1] = g;
            out[x * 3 + 2] = b;
        }
    }

    float* sums = sums_.data();
    const std::size_t rowFloats = tw * 3;
    for (int y = 0; y < targetHeight_; ++y) {
        std::fill(sums, sums + rowFloats, 0.0F);
        for (std::size_t k = vertical_.first[static_cast<std::size_t>(y)];
             k < vertical_.first[static_cast<std::size_t>(y) + 1]; ++k) {
            const Tap& tap = vertical_.taps[k];
            const float* row = rows_.data() + static_cast<std::size_t>(tap.source) * rowFloats;
            for (std::size_t c = 0; c < rowFloats; ++c)
                sums[c] += tap.weight * row[c];
        }
        std::uint32_t* out = target + static_cast<std::size_t>(y) * tw;
        for (std::size_t x = 0; x < tw; ++x) {
            out[x] = (toChannel(sums[x * 3]) << 16) | (toChannel(sums[x * 3 + 1]) << 8) |
                     toChannel(sums[x * 3 + 2]);
        }
    }
}

std::vector<std::uint32_t> resampleRgb(std::span<const std::uint32_t> source, int sourceWidth,
                                       int sourceHeight, int targetWidth, int targetHeight) {
    Resampler resampler(sourceWidth, sourceHeight, targetWidth, targetHeight);
    std::vector<std::uint32_t> target(static_cast<std::size_t>(targetWidth) *
                                      static_cast<std::size_t>(targetHeight));
    resampler.run(source.data(), static_cast<std::size_t>(sourceWidth), target.data());
    return target;
}

}  // namespace rek::detail
