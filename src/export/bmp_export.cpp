#include "export/bmp_export.h"

#include <cstdio>

#include "export/export_frames.h"
#include "export/image_library.h"

namespace rek {

std::string bmpFileName(const std::string& base, ExportKind kind, std::uint64_t frame) {
    if (kind == ExportKind::Still)
        return base + ".bmp";
    char number[32];
    std::snprintf(number, sizeof number, "%04llu", static_cast<unsigned long long>(frame));
    return base + number + ".bmp";
}

ExportOutcome exportBmpSequence(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::BmpWorkScreenMemory);

    const std::uint64_t frameCount = plan.frameCount();
    progress.frameCountKnown(frameCount);
    ExportOutcome outcome;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled, outcome.framesWritten);
        std::unique_ptr<Image> image = producer.next();
        if (!image)
            return detail::exportFailure(ExportErrorCode::BmpFrameImageMemory,
                                         outcome.framesWritten);
        const std::string name = bmpFileName(request.path, request.kind, i);
        if (!saveBmp(*image, name)) {
            outcome.error = ExportError(ExportErrorCode::CannotWrite);
            outcome.error->path = name;
            return outcome;
        }
        ++outcome.framesWritten;
        progress.frameDone(outcome.framesWritten);
    }

    progress.stageChanged(ExportStage::Done);
    return outcome;
}

}  // namespace rek
