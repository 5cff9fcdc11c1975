#include "export/apng_export.h"

#include <algorithm>
#include <vector>

#include "export/apng_writer.h"
#include "export/export_frames.h"

namespace rek {

namespace {

// Every colour a frame drawn without anti-aliasing can hold: the background, shadow and line
// colours, and where the frame is shrunk the bitwise AND of any of them (stretchCopyAnd); with
// a transparent background, transparency instead of the background alone.
std::vector<std::uint32_t> plainFramePalette(const ModelProperties& properties, bool transparent) {
    const std::uint32_t colours[] = {packedRgb(properties.backgroundColor),
                                     packedRgb(properties.shadowColor),
                                     packedRgb(properties.lineColor)};
    std::vector<std::uint32_t> palette;
    for (unsigned subset = 1; subset < 8; ++subset) {
        std::uint32_t combined = kRgbBits;
        for (unsigned i = 0; i < 3; ++i) {
            if ((subset & (1u << i)) != 0)
                combined &= colours[i];
        }
        const std::uint32_t pixel = transparent && combined == colours[0] ? 0u : combined | kOpaque;
        if (std::find(palette.begin(), palette.end(), pixel) == palette.end())
            palette.push_back(pixel);
    }
    return palette;
}

}  // namespace

ExportOutcome exportApng(const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);

    detail::FrameProducer producer(plan);
    if (!producer.allocate())
        return detail::exportFailure(ExportErrorCode::WorkScreenMemory);

    const std::uint64_t frameCount = plan.frameCount();
    ApngWriter writer(
        request.path, request.width, request.height, static_cast<std::uint32_t>(frameCount),
        static_cast<std::uint16_t>(request.delay), request.transparent,
        request.antiAlias ? std::vector<std::uint32_t>{}
                          : plainFramePalette(plan.snapshot().properties, request.transparent));
    if (!writer.open())
        return detail::cannotWrite(request.path);

    progress.frameCountKnown(frameCount);
    RgbaFrame frame;
    for (std::uint64_t i = 0; i < frameCount; ++i) {
        if (stop.stop_requested())
            return detail::exportFailure(ExportErrorCode::Cancelled);
        if (!producer.nextRgba(frame))
            return detail::exportFailure(ExportErrorCode::FrameImageMemory);
        if (!writer.addFrame(frame))
            return detail::cannotWrite(request.path);
        progress.frameDone(i + 1);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);
    if (!writer.finish())
        return detail::cannotWrite(request.path);

    return detail::exportFinished(progress, frameCount);
}

}  // namespace rek
