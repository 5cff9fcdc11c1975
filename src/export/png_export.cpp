#include "export/png_export.h"

#include "export/numbered_export.h"
#include "export/png_encoder.h"
#include "model/atomic_file.h"

namespace rek {

ExportOutcome exportPngSequence(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop) {
    RgbaFrame frame;
    return detail::exportNumberedSet(
        plan, progress, stop,
        {ExportErrorCode::WorkScreenMemory, ExportErrorCode::FrameImageMemory},
        [&frame](detail::FrameProducer& producer, const std::string& file) {
            if (!producer.nextRgba(frame))
                return detail::FrameWrite::OutOfMemory;
            const std::optional<std::vector<std::uint8_t>> png =
                encodeSmallestPng(PixelRegion::of(frame));
            if (!png)
                return detail::FrameWrite::OutOfMemory;
            return writeFileAtomically(file, *png, Flush::ByCaller)
                       ? detail::FrameWrite::Written
                       : detail::FrameWrite::CannotWrite;
        });
}

}  // namespace rek
