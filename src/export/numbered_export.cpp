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
    std::string failedTarget;
    switch (staged.commit(stop, failedTarget)) {
        case StagedFiles::Commit::Done:
            return exportFinished(progress, frameCount);
        case StagedFiles::Commit::Stopped:
            return exportFailure(ExportErrorCode::Cancelled);
        case StagedFiles::Commit::Failed:
            break;
    }
    return cannotWrite(failedTarget);
}

}  // namespace rek::detail
