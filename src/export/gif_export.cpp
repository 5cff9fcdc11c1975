#include "export/gif_export.h"

#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "export/export_frames.h"
#include "export/export_limits.h"
#include "export/image_library.h"

namespace rek {

namespace {

std::uint32_t colorRef(ColorRgb color) {
    return std::uint32_t{color.red} | (std::uint32_t{color.green} << 8) |
           (std::uint32_t{color.blue} << 16);
}

}  // namespace

ExportResult exportAnimatedGif(EditorState& state, FrameRenderer& renderer,
                               const ExportRequest& request, ExportObserver& observer) {
    if (auto refused = validateExport(ExportTarget::Gif, request, state,
                                      std::numeric_limits<std::uint64_t>::max())) {
        return detail::exportFailure(std::move(*refused), MessageIcon::None);
    }

    detail::ExportStateGuard guard(state, /*wobble=*/true);
    observer.setStatus(kStatusCreatingImages);

    detail::FrameProducer producer(state, renderer, request);
    if (!producer.allocate())
        return detail::exportFailure(kGifWorkScreenMemoryMessage);

    const std::uint64_t frameCount = exportFrameCount(state, request);
    if (request.kind == ExportKind::Vtr)
        guard.startReplay(vtrExportStep(state.model.properties.vtrSpeed, request.delay));
    else
        guard.holdReplay();

    std::vector<std::unique_ptr<Image>> images;
    std::vector<GifFrameRecord> records;
    try {
        images.reserve(frameCount);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(kGifFrameImageMemoryMessage);
    }
    try {
        records.reserve(frameCount);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(kGifAnimationInfoMemoryMessage);
    }

    // Transparency is only exact without anti-aliasing: smoothing blends the background into
    // the lines' edges. The colour is the background the model has now.
    const bool transparent = request.transparent && !request.antiAlias;
    const std::uint32_t transparentColor = colorRef(state.model.properties.backgroundColor);

    observer.setProgressRange(static_cast<int>(frameCount));
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        observer.pumpEvents();
        std::unique_ptr<Image> image = producer.next();
        if (!image)
            return detail::exportFailure(kGifFrameImageMemoryMessage);
        observer.stepProgress();

        GifFrameRecord record;
        record.flags = transparent ? kGifFrameFlagsTransparent : kGifFrameFlagsOpaque;
        if (transparent)
            record.transparentColor = transparentColor;
        record.disposal = 2;
        record.delayCentiseconds = static_cast<std::uint16_t>(request.delay);
        record.image = image.get();
        images.push_back(std::move(image));
        records.push_back(record);
    }

    observer.setStatus(kStatusSavingGif);
    observer.pumpEvents();
    bool written = false;
    try {
        std::vector<GifFrame> frames;
        frames.reserve(records.size());
        for (const GifFrameRecord& record : records)
            frames.push_back(gifFrameFromRecord(record));
        written = writeAnimatedGif(request.path, frames);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(kGifAnimationInfoMemoryMessage);
    }
    if (!written)
        return detail::exportFailure("「" + request.path +
                                     "」\nこのファイルに書き込めませんでした。");

    observer.setStatus(kStatusDone);
    ExportResult result;
    result.ok = true;
    result.framesWritten = frameCount;
    return result;
}

}  // namespace rek
