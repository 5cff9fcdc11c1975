#pragma once

// Reading GIFs back the way viewers show them, with readers that owe nothing to our encoder:
// giflib's decoder (composited here by the rules of disposal and transparency), ImageMagick,
// gifsicle, and a strict LZW reader of our own that insists on every detail of the code
// stream.

#include <gif_lib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/color_rgb.h"

namespace rek::test {

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using DecodedGif = std::unique_ptr<GifFileType, GifCloser>;

// giflib's decoder over the whole file; null when it refuses the file.
DecodedGif decodeGif(const std::filesystem::path& file);
GraphicsControlBlock gifControl(GifFileType* gif, int frame);
bool gifLoopsForever(GifFileType* gif);

// Pixels 0xAARRGGBB: alpha 0 where nothing covers the screen (transparent), else 255.
using RgbaPixels = std::vector<std::uint32_t>;

struct GifImageInfo {
    int left = 0, top = 0, width = 0, height = 0;
    int disposal = 0, transparentIndex = -1, delay = 0;
    bool localTable = false;
};

struct ComposedGif {
    int width = 0;
    int height = 0;
    std::vector<RgbaPixels> frames;  // the screen after each image, as a viewer shows it
    std::vector<GifImageInfo> images;

    std::uint32_t at(std::size_t frame, int x, int y) const {
        return frames[frame][static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)];
    }
};

// giflib's decoding, composited from a transparent screen: each image drawn over what the
// previous one left (transparent pixels leave it as it was), then disposed of as its control
// block says. Nothing when giflib refuses the file.
std::optional<ComposedGif> composeGif(const std::filesystem::path& file);

// Packs a colour as an opaque pixel, as composeGif gives it.
inline std::uint32_t opaque(ColorRgb c) {
    return 0xFF000000u | (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}
inline std::uint32_t opaque(std::uint32_t rgb) {
    return 0xFF000000u | (rgb & 0x00FFFFFFu);
}

// gifsicle takes the file without a word, and ImageMagick shows the same frames as `gif`
// (where they are installed).
void expectReadersAgree(const std::filesystem::path& file, const ComposedGif& gif);

// A strict reading of one image's LZW codes (the bytes between the minimum code size and the
// sub-block framing), as a decoder following the letter of GIF89a reads them: the data must
// start with a clear code, decode to exactly `pixels` indices, end with the end code at the
// code width reached by then, and hold nothing after it but the zero bits that fill its byte.
struct StrictLzwResult {
    bool ok = false;
    std::string problem;                    // why not
    std::vector<std::uint8_t> indices;      // decoded
    std::size_t longestRunOnFullTable = 0;  // most codes read while the table was full
};
StrictLzwResult readLzwStrictly(std::span<const std::uint8_t> data, int minCodeSize,
                                std::size_t pixels);

}  // namespace rek::test
