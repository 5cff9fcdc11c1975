#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "export/image_internal.h"
#include "export/image_library.h"
#include "model/atomic_file.h"

namespace rek {

namespace {

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMapPtr = std::unique_ptr<ColorMapObject, ColorMapDeleter>;

// giflib writes through this callback so that the bytes go into the atomic file; giflib
// ignores the result of its final write, so failures are also remembered by the file.
int writeToFile(GifFileType* gif, const GifByteType* data, int length) {
    auto* file = static_cast<AtomicFile*>(gif->UserData);
    return file->write(data, static_cast<std::size_t>(length)) ? length : 0;
}

ColorMapPtr makeColorMap(std::span<const ColorRgb> palette) {
    std::vector<GifColorType> colours(
        static_cast<std::size_t>(detail::colorTableSize(palette.size())), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i) {
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
    }
    return ColorMapPtr(GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
}

int transparentIndex(const GifFrame& frame, std::span<const ColorRgb> palette) {
    if (!frame.transparentColor) {
        return NO_TRANSPARENT_COLOR;
    }
    const auto it = std::find(palette.begin(), palette.end(), *frame.transparentColor);
    return it == palette.end() ? NO_TRANSPARENT_COLOR : static_cast<int>(it - palette.begin());
}

bool putLoopExtension(GifFileType* gif) {
    static constexpr char kApplication[] = "NETSCAPE2.0";
    static constexpr std::uint8_t kLoopForever[] = {1, 0, 0};  // sub-block 1, count 0
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, kApplication) == GIF_OK &&
           EGifPutExtensionBlock(gif, 3, kLoopForever) == GIF_OK &&
           EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool putFrame(GifFileType* gif, const GifFrame& frame, const Image& image,
              const ColorMapObject* localMap) {
    GraphicsControlBlock control{};
    control.DisposalMode = static_cast<int>(frame.disposal);
    control.UserInputFlag = false;
    control.DelayTime = frame.delayCentiseconds;
    control.TransparentColor = transparentIndex(frame, image.palette());
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) !=
        GIF_OK) {
        return false;
    }
    // giflib keeps a copy of the previous frame's local table and drops it without freeing
    // when the next frame has none; release it here so that it cannot leak.
    if (gif->Image.ColorMap != nullptr) {
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
    }
    if (EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, localMap) != GIF_OK) {
        return false;
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.width()));
    const std::uint8_t* indices = image.indices().data();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* row = indices + static_cast<std::size_t>(y) * line.size();
        std::copy(row, row + line.size(), line.begin());
        if (EGifPutLine(gif, line.data(), image.width()) != GIF_OK) {
            return false;
        }
    }
    return true;
}

bool encodeGif(AtomicFile& file, std::span<const GifFrame> frames,
               const std::vector<const Image*>& images, const std::stop_token& stop) {
    int screenWidth = 0;
    int screenHeight = 0;
    for (const Image* image : images) {
        screenWidth = std::max(screenWidth, image->width());
        screenHeight = std::max(screenHeight, image->height());
    }
    const ColorMapPtr globalMap = makeColorMap(images.front()->palette());
    if (!globalMap) {
        return false;
    }

    int error = 0;
    GifFileType* gif = EGifOpen(&file, writeToFile, &error);
    if (gif == nullptr) {
        return false;
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, globalMap.get()) == GIF_OK &&
              putLoopExtension(gif);
    const std::span<const ColorRgb> globalPalette = images.front()->palette();
    for (std::size_t i = 0; ok && i < frames.size(); ++i) {
        if (stop.stop_requested()) {
            ok = false;
            break;
        }
        const std::span<const ColorRgb> palette = images[i]->palette();
        ColorMapPtr localMap;
        if (!std::equal(palette.begin(), palette.end(), globalPalette.begin(),
                        globalPalette.end())) {
            localMap = makeColorMap(palette);
            if (!localMap) {
                ok = false;
                break;
            }
        }
        ok = putFrame(gif, frames[i], *images[i], localMap.get());
    }
    // Closing writes the trailer and frees the encoder in every case.
    const bool closed = EGifCloseFile(gif, &error) == GIF_OK;
    return ok && closed;
}

}  // namespace

bool writeAnimatedGif(const std::string& path, std::span<const GifFrame> frames,
                      std::stop_token stop) {
    // Nothing to show: no file, rather than a made-up picture the caller never asked for.
    if (frames.empty()) {
        return false;
    }
    try {
        std::vector<std::unique_ptr<Image>> holders(frames.size());
        std::vector<const Image*> images;
        images.reserve(frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i) {
            if (frames[i].image == nullptr) {
                return false;
            }
            const Image* reduced = detail::reducedForm(*frames[i].image, holders[i]);
            if (reduced == nullptr) {
                return false;
            }
            images.push_back(reduced);
        }
        AtomicFile file(path);
        return file.open() && encodeGif(file, frames, images, stop) && file.commit();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rek
