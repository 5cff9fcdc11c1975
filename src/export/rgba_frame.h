#pragma once

// A frame in full colour with alpha, as the WebP, APNG and PNG writers take it.

#include <cstdint>
#include <vector>

#include "model/color_rgb.h"

namespace rek {

inline constexpr std::uint32_t kRgbBits = 0x00FFFFFF;
inline constexpr std::uint32_t kOpaque = 0xFF000000;

// width * height pixels, top row first, each 0xAARRGGBB with the colour not multiplied by the
// alpha. A fully transparent pixel is 0.
struct RgbaFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

inline std::uint32_t packedRgb(ColorRgb color) {
    return (std::uint32_t{color.red} << 16) | (std::uint32_t{color.green} << 8) | color.blue;
}

// A colour weighted by its coverage (0x00RRGGBB, each channel at most `alpha`) brought back to
// full strength, with the alpha on top; 0 where nothing covers the pixel.
inline std::uint32_t unpremultiplied(std::uint32_t weighted, std::uint32_t alpha) {
    if (alpha == 0)
        return 0;
    std::uint32_t result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t channel = (weighted >> shift) & 0xFF;
        const std::uint32_t full = (channel * 255 + alpha / 2) / alpha;
        result |= (full > 255 ? 255 : full) << shift;
    }
    return result;
}

}  // namespace rek
