#include "export/png_encoder.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <new>
#include <unordered_map>

namespace rek {

namespace {

struct Sink {
    std::vector<std::uint8_t>* bytes;
    bool failed;
};

// Called by libpng; never raises a libpng error itself, so no jump crosses it.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
    if (sink->failed)
        return;
    try {
        sink->bytes->insert(sink->bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        sink->failed = true;
    }
}

void noFlush(png_structp) {}

int paletteDepth(std::size_t colours) {
    if (colours <= 2)
        return 1;
    if (colours <= 4)
        return 2;
    if (colours <= 16)
        return 4;
    return 8;
}

// The libpng calls, with nothing in this frame that a jump back to setjmp could skip the
// destructor of. `rows` are ready; `plte`/`trns` describe the palette when there is one.
bool writeImage(png_structp png, png_infop info, Sink* sink, int width, int height, int colorType,
                int depth, png_bytepp rows, const png_color* plte, int plteCount,
                const png_byte* trns, int trnsCount) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, sink, appendBytes, noFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 depth, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, plte, plteCount);
        if (trnsCount > 0)
            png_set_tRNS(png, info, trns, trnsCount, nullptr);
        // Filters rarely help indices.
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_write_info(png, info);
    if (depth < 8)
        png_set_packing(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<std::vector<std::uint32_t>> exactPngPalette(const PixelRegion& region) {
    std::vector<std::uint32_t> palette;
    std::unordered_map<std::uint32_t, int> seen;
    std::uint32_t last = 0;
    bool haveLast = false;
    for (int y = 0; y < region.height; ++y) {
        const std::uint32_t* row = region.pixels + static_cast<std::size_t>(y) * region.stride;
        for (int x = 0; x < region.width; ++x) {
            if (haveLast && row[x] == last)
                continue;
            last = row[x];
            haveLast = true;
            if (seen.emplace(row[x], 0).second) {
                if (palette.size() == 256)
                    return std::nullopt;
                palette.push_back(row[x]);
            }
        }
    }
    return palette;
}

bool hasAlpha(const PixelRegion& region) {
    for (int y = 0; y < region.height; ++y) {
        const std::uint32_t* row = region.pixels + static_cast<std::size_t>(y) * region.stride;
        for (int x = 0; x < region.width; ++x) {
            if ((row[x] >> 24) != 0xFF)
                return true;
        }
    }
    return false;
}

std::optional<std::vector<std::uint8_t>> encodePng(const PixelRegion& region, PngPixels layout,
                                                   std::span<const std::uint32_t> palette) {
    if (region.pixels == nullptr || region.width <= 0 || region.height <= 0)
        return std::nullopt;
    if (layout == PngPixels::Palette && (palette.empty() || palette.size() > 256))
        return std::nullopt;
    try {
        const auto width = static_cast<std::size_t>(region.width);
        const auto height = static_cast<std::size_t>(region.height);
        const std::size_t channels =
            layout == PngPixels::Rgba ? 4 : (layout == PngPixels::Rgb ? 3 : 1);
        std::vector<png_byte> data(width * height * channels);
        std::vector<png_bytep> rows(height);

        std::vector<png_color> plte;
        std::vector<png_byte> trns;
        if (layout == PngPixels::Palette) {
            // Entries that are not opaque first, so that tRNS stays short.
            std::vector<std::uint32_t> ordered(palette.begin(), palette.end());
            std::stable_partition(ordered.begin(), ordered.end(),
                                  [](std::uint32_t c) { return (c >> 24) != 0xFF; });
            std::unordered_map<std::uint32_t, std::uint8_t> index;
            for (std::size_t i = 0; i < ordered.size(); ++i) {
                const std::uint32_t c = ordered[i];
                index.emplace(c, static_cast<std::uint8_t>(i));
                plte.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                                static_cast<png_byte>(c)});
                if ((c >> 24) != 0xFF)
                    trns.push_back(static_cast<png_byte>(c >> 24));
            }
            for (std::size_t y = 0; y < height; ++y) {
                const std::uint32_t* in = region.pixels + y * region.stride;
                png_byte* out = data.data() + y * width;
                for (std::size_t x = 0; x < width; ++x) {
                    const auto found = index.find(in[x]);
                    if (found == index.end())
                        return std::nullopt;
                    out[x] = found->second;
                }
            }
        } else {
            for (std::size_t y = 0; y < height; ++y) {
                const std::uint32_t* in = region.pixels + y * region.stride;
                png_byte* out = data.data() + y * width * channels;
                for (std::size_t x = 0; x < width; ++x) {
                    const std::uint32_t c = in[x];
                    *out++ = static_cast<png_byte>(c >> 16);
                    *out++ = static_cast<png_byte>(c >> 8);
                    *out++ = static_cast<png_byte>(c);
                    if (channels == 4)
                        *out++ = static_cast<png_byte>(c >> 24);
                }
            }
        }
        for (std::size_t y = 0; y < height; ++y)
            rows[y] = data.data() + y * width * channels;

        std::vector<std::uint8_t> bytes;
        bytes.reserve(width * height / 8 + 1024);
        Sink sink{&bytes, false};
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png == nullptr)
            return std::nullopt;
        png_infop info = png_create_info_struct(png);
        if (info == nullptr) {
            png_destroy_write_struct(&png, nullptr);
            return std::nullopt;
        }
        const int colorType =
            layout == PngPixels::Palette
                ? PNG_COLOR_TYPE_PALETTE
                : (layout == PngPixels::Rgba ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
        const int depth = layout == PngPixels::Palette ? paletteDepth(plte.size()) : 8;
        const bool written = writeImage(
            png, info, &sink, region.width, region.height, colorType, depth, rows.data(),
            plte.data(), static_cast<int>(plte.size()), trns.data(), static_cast<int>(trns.size()));
        png_destroy_write_struct(&png, &info);
        if (!written || sink.failed)
            return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::uint8_t>> encodeSmallestPng(const PixelRegion& region) {
    std::optional<std::vector<std::uint32_t>> palette;
    try {
        palette = exactPngPalette(region);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> indexed;
    if (palette)
        indexed = encodePng(region, PngPixels::Palette, *palette);
    std::optional<std::vector<std::uint8_t>> direct =
        encodePng(region, hasAlpha(region) ? PngPixels::Rgba : PngPixels::Rgb);
    if (indexed && (!direct || indexed->size() <= direct->size()))
        return indexed;
    return direct;
}

}  // namespace rek
