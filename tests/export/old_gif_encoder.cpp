#include "old_gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "export/export_frames.h"
#include "export/image_internal.h"

namespace rek::test {

namespace {

struct MapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapFree>;

ColorMap colourMap(std::span<const ColorRgb> palette) {
    std::vector<GifColorType> colours(
        static_cast<std::size_t>(detail::colorTableSize(palette.size())), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
    return ColorMap(GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
}

}  // namespace

bool writeGifTheOldWay(const ExportPlan& plan, const std::filesystem::path& file) {
    const ExportRequest& request = plan.request();
    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return false;
    std::vector<std::unique_ptr<Image>> frames;
    for (std::uint64_t i = 0; i < plan.frameCount(); ++i) {
        frames.push_back(producer.next());
        if (!frames.back())
            return false;
    }
    std::optional<ColorRgb> transparent;
    if (request.transparent && !request.antiAlias)
        transparent = plan.snapshot().properties.backgroundColor;

    int error = 0;
    GifFileType* gif = EGifOpenFileName(file.c_str(), false, &error);
    if (gif == nullptr)
        return false;
    EGifSetGifVersion(gif, true);
    const std::span<const ColorRgb> global = frames.front()->palette();
    const ColorMap globalMap = colourMap(global);
    static constexpr char kApplication[] = "NETSCAPE2.0";
    static constexpr std::uint8_t kLoop[] = {1, 0, 0};
    bool ok =
        EGifPutScreenDesc(gif, request.width, request.height, 8, 0, globalMap.get()) == GIF_OK &&
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
        EGifPutExtensionBlock(gif, 11, kApplication) == GIF_OK &&
        EGifPutExtensionBlock(gif, 3, kLoop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    for (const auto& frame : frames) {
        if (!ok)
            break;
        const std::span<const ColorRgb> palette = frame->palette();
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_BACKGROUND;
        control.DelayTime = request.delay;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        if (transparent) {
            const auto it = std::find(palette.begin(), palette.end(), *transparent);
            if (it != palette.end())
                control.TransparentColor = static_cast<int>(it - palette.begin());
        }
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
             GIF_OK;
        ColorMap local;
        if (!std::equal(palette.begin(), palette.end(), global.begin(), global.end()))
            local = colourMap(palette);
        if (gif->Image.ColorMap != nullptr) {
            GifFreeMapObject(gif->Image.ColorMap);
            gif->Image.ColorMap = nullptr;
        }
        ok = ok && EGifPutImageDesc(gif, 0, 0, frame->width(), frame->height(), false,
                                    local.get()) == GIF_OK;
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame->width()));
        for (int y = 0; ok && y < frame->height(); ++y) {
            const auto row =
                frame->indices().subspan(static_cast<std::size_t>(y) * line.size(), line.size());
            std::copy(row.begin(), row.end(), line.begin());
            ok = EGifPutLine(gif, line.data(), frame->width()) == GIF_OK;
        }
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

}  // namespace rek::test
