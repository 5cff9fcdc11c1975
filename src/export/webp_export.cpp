#include "export/webp_export.h"

#include "export/export_frames.h"
#include "export/webp_writer.h"

namespace rek {

ExportOutcome exportAnimatedWebp(const ExportPlan& plan, ExportProgress& progress,
                                 std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::WorkScreenMemory);
    WebpAnimationWriter writer(request.width, request.height, request.webpQuality);
    if (!writer.ready())
        return detail::exportFailure(ExportErrorCode::FrameImageMemory);

    const std::uint64_t frameCount = plan.frameCount();
    progress.frameCountKnown(frameCount);
    RgbaFrame frame;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        if (!producer.nextRgba(frame))
            return detail::exportFailure(ExportErrorCode::FrameImageMemory);
        if (!writer.addFrame(frame, request.delay * 10))
            return detail::exportFailure(ExportErrorCode::EncoderFailed);
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);

    progress.stageChanged(ExportStage::SavingFile);
    switch (writer.write(request.path, stop)) {
        case WebpAnimationWriter::Result::Written:
            break;
        case WebpAnimationWriter::Result::Stopped:
            return detail::exportFailure(ExportErrorCode::Cancelled);
        case WebpAnimationWriter::Result::EncoderFailed:
            return detail::exportFailure(ExportErrorCode::EncoderFailed);
        case WebpAnimationWriter::Result::CannotWrite:
            return detail::cannotWrite(request.path);
    }
    return detail::exportFinished(progress, frameCount);
}

}  // namespace rek
