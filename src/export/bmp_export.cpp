#include "export/bmp_export.h"

#include "export/image_library.h"
#include "export/numbered_export.h"
#include "export/output_files.h"

namespace rek {

std::string bmpFileName(const std::string& base, ExportKind kind, std::uint64_t frame) {
    return numberedFileName(base, kind, frame, ".bmp");
}

ExportOutcome exportBmpSequence(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop) {
    return detail::exportNumberedSet(
        plan, progress, stop,
        {ExportErrorCode::BmpWorkScreenMemory, ExportErrorCode::BmpFrameImageMemory},
        [](detail::FrameProducer& producer, const std::string& file) {
            const std::unique_ptr<Image> image = producer.next();
            if (!image)
                return detail::FrameWrite::OutOfMemory;
            return saveBmp(*image, file, Flush::ByCaller) ? detail::FrameWrite::Written
                                                          : detail::FrameWrite::CannotWrite;
        });
}

}  // namespace rek
