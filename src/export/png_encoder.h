#pragma once

// PNG images encoded in memory through libpng: the files of a PNG set, and the frames an APNG
// is assembled from.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "export/rgba_frame.h"

namespace rek {

// A rectangle of 0xAARRGGBB pixels whose rows start `stride` pixels apart.
struct PixelRegion {
    const std::uint32_t* pixels = nullptr;
    std::size_t stride = 0;
    int width = 0;
    int height = 0;

    static PixelRegion of(const RgbaFrame& frame) {
        return {frame.pixels.data(), static_cast<std::size_t>(frame.width), frame.width,
                frame.height};
    }
    PixelRegion crop(int x, int y, int w, int h) const {
        return {pixels + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x), stride,
                w, h};
    }
};

// How the pixels are stored: 8-bit RGB (the alpha dropped), 8-bit RGBA, or indices into a
// palette of at most 256 colours at the smallest bit depth that holds it.
enum class PngPixels { Rgb, Rgba, Palette };

// The distinct colours of a region, in order of first appearance; nothing beyond 256. May
// throw std::bad_alloc.
std::optional<std::vector<std::uint32_t>> exactPngPalette(const PixelRegion& region);

// True when some pixel is not fully opaque.
bool hasAlpha(const PixelRegion& region);

// A whole PNG file: signature, IHDR, PLTE and tRNS for a palette, IDAT, IEND. `palette` must
// hold every colour of the region for PngPixels::Palette and is ignored otherwise. Nothing when
// libpng fails or memory runs out.
std::optional<std::vector<std::uint8_t>> encodePng(const PixelRegion& region, PngPixels layout,
                                                   std::span<const std::uint32_t> palette = {});

// The smaller of the direct form (RGB, or RGBA when some pixel is not opaque) and the palette
// form where the colours fit one.
std::optional<std::vector<std::uint8_t>> encodeSmallestPng(const PixelRegion& region);

}  // namespace rek
