#include "export/apng_export.h"

#include "export/apng_writer.h"
#include "export/export_frames.h"

namespace rek {

ExportOutcome exportApng(const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::WorkScreenMemory);

    const std::uint64_t frameCount = plan.frameCount();
    ApngWriter writer(request.path, request.width, request.height,
                      static_cast<std::uint32_t>(frameCount),
                      static_cast<std::uint16_t>(request.delay), request.transparent);
    auto cannotWrite = [&request] {
        ExportOutcome failed = detail::exportFailure(ExportErrorCode::CannotWrite);
        failed.error->path = request.path;
        return failed;
    };
    if (!writer.open())
        return cannotWrite();

    progress.frameCountKnown(frameCount);
    RgbaFrame frame;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        if (!producer.nextRgba(frame))
            return detail::exportFailure(ExportErrorCode::FrameImageMemory);
        if (!writer.addFrame(frame))
            return cannotWrite();
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);
    if (!writer.finish())
        return cannotWrite();

    progress.stageChanged(ExportStage::Done);
    ExportOutcome outcome;
    outcome.framesWritten = frameCount;
    return outcome;
}

}  // namespace rek
