#include "export/gif_export.h"

#include <memory>
#include <new>
#include <vector>

#include "export/export_frames.h"
#include "export/image_library.h"

namespace rek {

ExportOutcome exportAnimatedGif(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::GifWorkScreenMemory);

    const std::uint64_t frameCount = plan.frameCount();
    std::vector<std::unique_ptr<Image>> images;
    std::vector<GifFrame> frames;
    try {
        images.reserve(frameCount);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(ExportErrorCode::GifFrameImageMemory);
    }
    try {
        frames.reserve(frameCount);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(ExportErrorCode::GifAnimationInfoMemory);
    }

    // Transparency is only exact without anti-aliasing: smoothing blends the background into
    // the lines' edges.
    std::optional<ColorRgb> transparentColor;
    if (request.transparent && !request.antiAlias)
        transparentColor = plan.snapshot().properties.backgroundColor;

    progress.frameCountKnown(frameCount);
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        std::unique_ptr<Image> image = producer.next();
        if (!image)
            return detail::exportFailure(ExportErrorCode::GifFrameImageMemory);
        frames.push_back(GifFrame{image.get(), static_cast<std::uint16_t>(request.delay),
                                  GifDisposal::RestoreBackground, transparentColor});
        images.push_back(std::move(image));
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);

    progress.stageChanged(ExportStage::SavingGif);
    if (!writeAnimatedGif(request.path, frames, stop)) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        ExportOutcome failed = detail::exportFailure(ExportErrorCode::CannotWrite);
        failed.error->path = request.path;
        return failed;
    }

    progress.stageChanged(ExportStage::Done);
    ExportOutcome outcome;
    outcome.framesWritten = frameCount;
    return outcome;
}

}  // namespace rek
