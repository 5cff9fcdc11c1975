#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/color_rgb.h"

namespace rek::detail {

struct IndexedPixels {
    std::vector<ColorRgb> palette;      // 1..256 entries
    std::vector<std::uint8_t> indices;  // one per pixel, same order as the source
};

// The exact palette of packed 0x00RRGGBB pixels in order of first appearance, or nothing
// when they hold more than 256 distinct colours. May throw std::bad_alloc.
std::optional<IndexedPixels> exactPalette(std::span<const std::uint32_t> pixels);

// At most 256 colours chosen by libimagequant at its best quality, mapped without
// dithering, with the most frequent colour kept exact. Nothing when the quantiser fails.
// May throw std::bad_alloc.
std::optional<IndexedPixels> quantisedPalette(std::span<const std::uint32_t> pixels, int width,
                                              int height);

}  // namespace rek::detail
