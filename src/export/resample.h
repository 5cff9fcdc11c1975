#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rek::detail {

// Smoothing resample of packed 0x??RRGGBB pixels (top row first) to 0x00RRGGBB, each axis on
// its own: area averaging where the axis shrinks, bilinear (pixel centres aligned) where it
// grows, a plain copy where it keeps its length. The filters are worked out once for a pair of
// sizes and the work buffer is kept, so one resampler serves every frame of an export.
class Resampler {
  public:
    // Sizes must be positive. May throw std::bad_alloc.
    Resampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

    int sourceWidth() const { return sourceWidth_; }
    int sourceHeight() const { return sourceHeight_; }
    int targetWidth() const { return targetWidth_; }
    int targetHeight() const { return targetHeight_; }

    // Reads sourceHeight rows of sourceWidth pixels, `sourceStride` pixels apart, and writes
    // targetWidth * targetHeight pixels without gaps.
    void run(const std::uint32_t* source, std::size_t sourceStride, std::uint32_t* target);

  private:
    struct Tap {
        int source;
        float weight;
    };
    // For each target position along one axis, the source positions that contribute and
    // their weights (summing to 1).
    struct AxisFilter {
        std::vector<std::size_t> first;  // index into taps, one more entry than positions
        std::vector<Tap> taps;
    };
    static AxisFilter makeFilter(int sourceLength, int targetLength);

    int sourceWidth_;
    int sourceHeight_;
    int targetWidth_;
    int targetHeight_;
    AxisFilter horizontal_;
    AxisFilter vertical_;
    std::vector<float> channels_;  // one source row split into channels
    std::vector<float> rows_;      // every source row after the horizontal pass
    std::vector<float> sums_;      // one target row before rounding
};

// The same as a one-off. May throw std::bad_alloc.
std::vector<std::uint32_t> resampleRgb(std::span<const std::uint32_t> source, int sourceWidth,
                                       int sourceHeight, int targetWidth, int targetHeight);

}  // namespace rek::detail
