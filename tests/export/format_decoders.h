#pragma once

// Independent readers of what the full-colour exports write: libwebp's animation decoder,
// and libpng with a parser of the APNG animation chunks of its own. Every frame comes back as
// the whole canvas after it is shown, 0xAARRGGBB per pixel, top row first.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "export/rgba_frame.h"

namespace rek::test {

struct DecodedAnimation {
    int width = 0;
    int height = 0;
    std::uint32_t loopCount = 1;  // 0: forever
    std::vector<RgbaFrame> frames;
    std::vector<int> delaysMs;
    // APNG: the pixels of the rectangle each frame stores.
    std::vector<std::uint64_t> storedAreas;
};

// libwebp's WebPAnimDecoder; nothing when it refuses the file.
std::optional<DecodedAnimation> decodeWebp(const std::filesystem::path& file);

// A plain PNG through libpng, expanded to 8-bit RGBA.
std::optional<RgbaFrame> decodePng(const std::vector<std::uint8_t>& bytes);
std::optional<RgbaFrame> decodePng(const std::filesystem::path& file);
// The IHDR colour type of a PNG file (3 for a palette, 2 RGB, 6 RGBA).
std::optional<int> pngColorType(const std::filesystem::path& file);

// An APNG: acTL, then each fcTL with its IDAT or fdAT data turned into a PNG of the frame's
// rectangle for libpng, composited as the chunks say (dispose and blend operations).
// Nothing when the chunks are out of order, a sequence number is wrong or libpng refuses a
// frame.
std::optional<DecodedAnimation> decodeApng(const std::filesystem::path& file);

}  // namespace rek::test
