#include "export/color_reduction.h"

#include <libimagequant.h>

#include <cstddef>
#include <memory>
#include <unordered_map>

namespace rek::detail {

namespace {

ColorRgb unpack(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
}

struct AttrDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct ImageDeleter {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct ResultDeleter {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

std::uint32_t mostFrequentColour(std::span<const std::uint32_t> pixels) {
    std::unordered_map<std::uint32_t, std::size_t> counts;
    std::uint32_t best = pixels.front();
    std::size_t bestCount = 0;
    for (std::uint32_t p : pixels) {
        const std::size_t n = ++counts[p];
        if (n > bestCount) {
            bestCount = n;
            best = p;
        }
    }
    return best;
}

}  // namespace

std::optional<IndexedPixels> exactPalette(std::span<const std::uint32_t> pixels) {
    IndexedPixels out;
    out.indices.resize(pixels.size());
    std::unordered_map<std::uint32_t, std::uint8_t> lookup;
    // Runs of equal pixels are the rule (background, lines), so remember the last hit.
    bool haveLast = false;
    std::uint32_t last = 0;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i];
        if (!haveLast || p != last) {
            auto it = lookup.find(p);
            if (it == lookup.end()) {
                if (out.palette.size() == 256) {
                    return std::nullopt;
                }
                it = lookup.emplace(p, static_cast<std::uint8_t>(out.palette.size())).first;
                out.palette.push_back(unpack(p));
            }
            haveLast = true;
            last = p;
            lastIndex = it->second;
        }
        out.indices[i] = lastIndex;
    }
    return out;
}

std::optional<IndexedPixels> quantisedPalette(std::span<const std::uint32_t> pixels, int width,
                                              int height) {
    if (pixels.empty()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> rgba(pixels.size() * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const ColorRgb c = unpack(pixels[i]);
        rgba[i * 4] = c.red;
        rgba[i * 4 + 1] = c.green;
        rgba[i * 4 + 2] = c.blue;
        rgba[i * 4 + 3] = 255;
    }

    std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), 256) != LIQ_OK ||
        liq_set_quality(attr.get(), 0, 100) != LIQ_OK || liq_set_speed(attr.get(), 3) != LIQ_OK) {
        return std::nullopt;
    }
    std::unique_ptr<liq_image, ImageDeleter> image(
        liq_image_create_rgba(attr.get(), rgba.data(), width, height, 0.0));
    if (!image) {
        return std::nullopt;
    }
    // The background fills most of every frame; keeping it exact stops it drifting from
    // frame to frame and keeps it matchable as the transparent colour.
    const ColorRgb background = unpack(mostFrequentColour(pixels));
    if (liq_image_add_fixed_color(
            image.get(), {background.red, background.green, background.blue, 255}) != LIQ_OK) {
        return std::nullopt;
    }
    liq_result* rawResult = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &rawResult) != LIQ_OK || !rawResult) {
        return std::nullopt;
    }
    std::unique_ptr<liq_result, ResultDeleter> result(rawResult);
    // No dithering: the extra colours come from smoothed edges, and dither noise would
    // differ between frames and make the animation shimmer.
    if (liq_set_dithering_level(result.get(), 0.0F) != LIQ_OK) {
        return std::nullopt;
    }

    IndexedPixels out;
    out.indices.resize(pixels.size());
    if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(),
                                 out.indices.size()) != LIQ_OK) {
        return std::nullopt;
    }
    // The palette is final only after remapping.
    const liq_palette* palette = liq_get_palette(result.get());
    if (!palette || palette->count == 0 || palette->count > 256) {
        return std::nullopt;
    }
    out.palette.reserve(palette->count);
    for (unsigned int i = 0; i < palette->count; ++i) {
        out.palette.push_back(
            {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
    }
    for (std::uint8_t index : out.indices) {
        if (index >= palette->count) {
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace rek::detail
