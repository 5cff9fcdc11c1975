#include "export/gif_export.h"

#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "export/export_frames.h"
#include "export/gif_likely_colours.h"
#include "export/image_library.h"

namespace rek {

ExportOutcome exportAnimatedGif(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::GifWorkScreenMemory);

    // Transparency is only exact without anti-aliasing: smoothing blends the background into
    // the lines' edges.
    std::optional<ColorRgb> transparentColor;
    if (request.transparent && !request.antiAlias)
        transparentColor = plan.snapshot().properties.backgroundColor;

    const std::uint64_t frameCount = plan.frameCount();
    progress.frameCountKnown(frameCount);
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);

    // The file's colours come from the finished drawing, before a replay starts from nothing,
    // and from what resizing can make of the model's colours.
    std::vector<std::uint32_t> pixels;
    if (!producer.sampleRgb(pixels))
        return detail::exportFailure(ExportErrorCode::GifFrameImageMemory);
    const LikelyGifColours likely = likelyGifColours(plan.snapshot().properties, request);
    GifColours colours;
    colours.sample = pixels;
    colours.likely = likely.colours;
    colours.smoothed = likely.approximate;
    colours.transparent = transparentColor;
    GifAnimationWriter writer;
    if (!writer.begin(request.path, request.width, request.height, colours)) {
        return detail::cannotWrite(request.path);
    }

    // Each frame goes into the file as soon as it is drawn; a stop drops the file unfinished.
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        if (!producer.nextRgb(pixels) ||
            !writer.addFrame(pixels, static_cast<std::uint16_t>(request.delay)))
            return detail::exportFailure(ExportErrorCode::GifFrameImageMemory);
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);

    progress.stageChanged(ExportStage::SavingGif);
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);
    if (!writer.finish()) {
        return detail::cannotWrite(request.path);
    }

    return detail::exportFinished(progress, frameCount);
}

}  // namespace rek
