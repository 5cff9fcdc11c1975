#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace rek::detail {

// Smoothing resample of packed 0x00RRGGBB pixels (top row first), each axis on its own:
// area averaging where the axis shrinks, bilinear (pixel centres aligned) where it grows,
// a plain copy where it keeps its length. Sizes must be positive; may throw std::bad_alloc.
std::vector<std::uint32_t> resampleRgb(std::span<const std::uint32_t> source, int sourceWidth,
                                       int sourceHeight, int targetWidth, int targetHeight);

}  // namespace rek::detail
