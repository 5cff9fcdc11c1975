#include "export/bmp_export.h"

#include <cstdio>
#include <limits>

#include "export/export_frames.h"
#include "export/export_limits.h"
#include "export/image_library.h"

namespace rek {

std::string bmpFileName(const std::string& base, ExportKind kind, std::uint64_t frame) {
    if (kind == ExportKind::Still)
        return base + ".bmp";
    char number[32];
    std::snprintf(number, sizeof number, "%04llu", static_cast<unsigned long long>(frame));
    return base + number + ".bmp";
}

ExportResult exportBmpSequence(EditorState& state, FrameRenderer& renderer,
                               const ExportRequest& request, ExportObserver& observer) {
    if (auto refused = validateExport(ExportTarget::Bmp, request, state,
                                      std::numeric_limits<std::uint64_t>::max())) {
        return detail::exportFailure(std::move(*refused), MessageIcon::None);
    }

    // A still image is the model as stored: no wobble.
    detail::ExportStateGuard guard(state, /*wobble=*/request.kind != ExportKind::Still);
    observer.setStatus(kStatusCreatingImages);

    detail::FrameProducer producer(state, renderer, request);
    if (!producer.allocate())
        return detail::exportFailure(kBmpWorkScreenMemoryMessage);

    const std::uint64_t frameCount = exportFrameCount(state, request);
    if (request.kind == ExportKind::Vtr)
        guard.startReplay(vtrExportStep(state.model.properties.vtrSpeed, request.delay));
    else
        guard.holdReplay();

    observer.setProgressRange(static_cast<int>(frameCount));
    ExportResult result;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        observer.pumpEvents();
        std::unique_ptr<Image> image = producer.next();
        if (!image)
            return detail::exportFailure(kBmpFrameImageMemoryMessage);
        const std::string name = bmpFileName(request.path, request.kind, i);
        if (!saveBmp(*image, name)) {
            result.message = UserMessage{"「" + name + "」\nこのファイルに書き込めませんでした。",
                                         MessageIcon::Error};
            return result;
        }
        ++result.framesWritten;
        observer.stepProgress();
    }

    observer.pumpEvents();
    observer.setStatus(kStatusDone);
    result.ok = true;
    return result;
}

}  // namespace rek
