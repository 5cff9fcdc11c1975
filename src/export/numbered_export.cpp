#include "export/numbered_export.h"

#include "export/output_files.h"
#include "export/staged_files.h"

namespace rek::detail {

ExportOutcome exportNumberedSet(const ExportPlan& plan, ExportProgress& progress,
                                const std::stop_token& stop, NumberedSetErrors errors,
                                const NumberedFrameWriter& writeFrame) {
    const ExportRequest& request = plan.request();
    const char* extension = targetExtension(plan.target());
    progress.stageChanged(ExportStage::CreatingImages);

    FrameProducer producer(plan);
    if (!producer.allocate())
        return exportFailure(errors.workScreenMemory);

    const std::uint64_t frameCount = plan.frameCount();
    progress.frameCountKnown(frameCount);
    StagedFiles staged;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return exportFailure(ExportErrorCode::Cancelled);
        const std::string target = numberedFileName(request.path, request.kind, i, extension);
        switch (writeFrame(producer, staged.stage(target))) {
            case FrameWrite::Written:
                break;
            case FrameWrite::OutOfMemory:
                return exportFailure(errors.frameMemory);
            case FrameWrite::CannotWrite:
                return cannotWrite(target);
        }
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return exportFailure(ExportErrorCode::Cancelled);

    std::string failedTarget;
    if (!staged.commit(failedTarget))
        return cannotWrite(failedTarget);
    return exportFinished(progress, frameCount);
}

}  // namespace rek::detail
