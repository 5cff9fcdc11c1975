#include "export/image_library.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <cstdio>
#include <new>
#include <utility>

#include "export/color_reduction.h"
#include "export/image_internal.h"
#include "export/resample.h"

namespace rek {

bool imageSizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           std::int64_t{width} * height <= kMaxImagePixels;
}

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

}  // namespace

std::unique_ptr<Image> Image::fromRgb(int width, int height, std::vector<std::uint32_t> pixels) {
    if (!imageSizeAllowed(width, height) ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return nullptr;
    }
    try {
        std::unique_ptr<Image> image(new Image);
        image->width_ = width;
        image->height_ = height;
        for (std::uint32_t& pixel : pixels) {
            pixel &= kRgbMask;
        }
        image->rgb_ = std::move(pixels);
        return image;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<Image> Image::copyRgb(int width, int height, const std::uint32_t* pixels,
                                      std::size_t stride) {
    if (pixels == nullptr || !imageSizeAllowed(width, height) ||
        stride < static_cast<std::size_t>(width)) {
        return nullptr;
    }
    try {
        std::unique_ptr<Image> image(new Image);
        image->width_ = width;
        image->height_ = height;
        const auto w = static_cast<std::size_t>(width);
        const auto h = static_cast<std::size_t>(height);
        image->rgb_.resize(w * h);
        for (std::size_t row = 0; row < h; ++row) {
            const std::uint32_t* in = pixels + row * stride;
            std::uint32_t* out = image->rgb_.data() + row * w;
            for (std::size_t x = 0; x < w; ++x) {
                out[x] = in[x] & kRgbMask;
            }
        }
        return image;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

ColorRgb Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return {};
    }
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                           static_cast<std::size_t>(x);
    if (reduced_) {
        return palette_[indices_[at]];
    }
    const std::uint32_t p = rgb_[at];
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p)};
}

bool resize(Image& image, int width, int height) {
    if (!imageSizeAllowed(width, height)) {
        return false;
    }
    try {
        std::vector<std::uint32_t> source;
        if (image.reduced_) {
            source.reserve(image.indices_.size());
            for (std::uint8_t index : image.indices_) {
                const ColorRgb c = image.palette_[index];
                source.push_back((std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) |
                                 c.blue);
            }
        } else {
            source = image.rgb_;
        }
        std::vector<std::uint32_t> target =
            detail::resampleRgb(source, image.width_, image.height_, width, height);
        image.rgb_ = std::move(target);
        image.width_ = width;
        image.height_ = height;
        image.reduced_ = false;
        image.palette_.clear();
        image.indices_.clear();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool reduceColors(Image& image) {
    if (image.reduced_) {
        return true;
    }
    try {
        std::optional<detail::IndexedPixels> indexed = detail::exactPalette(image.rgb_);
        if (!indexed) {
            indexed = detail::quantisedPalette(image.rgb_, image.width_, image.height_);
        }
        if (!indexed) {
            return false;
        }
        image.palette_ = std::move(indexed->palette);
        image.indices_ = std::move(indexed->indices);
        image.rgb_.clear();
        image.rgb_.shrink_to_fit();
        image.reduced_ = true;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string imageLibraryVersionLine() {
    const int liq = liq_version();
    char line[160];
    std::snprintf(line, sizeof line, "giflib Ver.%d.%d.%d & libimagequant Ver.%d.%d.%d",
                  GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE, liq / 10000, liq / 100 % 100,
                  liq % 100);
    return line;
}

std::string imageLibraryAuthors() {
    return "Eric S. Raymond, Kornel Lesiński";
}

namespace detail {

const Image* reducedForm(const Image& image, std::unique_ptr<Image>& holder) {
    if (image.isReduced()) {
        return &image;
    }
    try {
        holder = std::make_unique<Image>(image);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return reduceColors(*holder) ? holder.get() : nullptr;
}

int colorTableSize(std::size_t paletteSize) {
    int size = 2;
    while (static_cast<std::size_t>(size) < paletteSize) {
        size *= 2;
    }
    return size;
}

}  // namespace detail

}  // namespace rek
