#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "export/gif_lzw.h"
#include "export/gif_stream.h"
#include "export/image_internal.h"
#include "export/image_library.h"

namespace rek {

namespace {

int transparentIndex(const GifFrame& frame, std::span<const ColorRgb> palette) {
    if (!frame.transparentColor)
        return -1;
    const auto it = std::find(palette.begin(), palette.end(), *frame.transparentColor);
    return it == palette.end() ? -1 : static_cast<int>(it - palette.begin());
}

bool encodeGif(detail::GifStream& stream, std::span<const GifFrame> frames,
               const std::vector<const Image*>& images, const std::stop_token& stop) {
    int screenWidth = 0;
    int screenHeight = 0;
    for (const Image* image : images) {
        screenWidth = std::max(screenWidth, image->width());
        screenHeight = std::max(screenHeight, image->height());
    }
    const std::span<const ColorRgb> globalPalette = images.front()->palette();
    if (!stream.open(screenWidth, screenHeight, globalPalette))
        return false;

    detail::LzwEncoder lzw;
    std::vector<std::uint8_t> codes;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (stop.stop_requested())
            return false;
        const Image& image = *images[i];
        const std::span<const ColorRgb> palette = image.palette();
        detail::GifImage out;
        out.width = image.width();
        out.height = image.height();
        out.delayCentiseconds = frames[i].delayCentiseconds;
        out.disposal = frames[i].disposal;
        out.transparentIndex = transparentIndex(frames[i], palette);
        if (!std::equal(palette.begin(), palette.end(), globalPalette.begin(), globalPalette.end()))
            out.localPalette = palette;
        const std::span<const std::uint8_t> indices = image.indices();
        out.lzwCodeSize = detail::lzwCodeSizeFor(*std::max_element(indices.begin(), indices.end()));
        codes.clear();
        lzw.encodeShortest(indices, out.lzwCodeSize, codes);
        out.lzwData = codes;
        if (!stream.putImage(out))
            return false;
    }
    return stream.finish();
}

}  // namespace

bool writeAnimatedGif(const std::string& path, std::span<const GifFrame> frames,
                      std::stop_token stop) {
    // Nothing to show: no file, rather than a made-up picture the caller never asked for.
    if (frames.empty())
        return false;
    try {
        std::vector<std::unique_ptr<Image>> holders(frames.size());
        std::vector<const Image*> images;
        images.reserve(frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].image == nullptr)
                return false;
            const Image* reduced = detail::reducedForm(*frames[i].image, holders[i]);
            if (reduced == nullptr)
                return false;
            images.push_back(reduced);
        }
        detail::GifStream stream(path);
        return encodeGif(stream, frames, images, stop);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rek
