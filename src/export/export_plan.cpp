#include "export/export_plan.h"

#include <utility>

#include "export/export_limits.h"
#include "export/image_library.h"
#include "export/output_files.h"

namespace rek {

namespace {

bool kindValid(ExportKind kind) {
    return kind == ExportKind::Wobble || kind == ExportKind::Vtr || kind == ExportKind::Still;
}

ExportError refused(ExportErrorCode code) {
    return ExportError(code);
}

ExportError refusedName(ExportErrorCode code, const std::string& path) {
    ExportError error(code);
    error.path = path;
    return error;
}

// WebP stores each side in 14 bits.
constexpr int kMaxWebpSide = 16383;

}  // namespace

ExportValidation validateExport(ExportTarget target, const ExportRequest& request,
                                AnimationSnapshot snapshot, std::uint64_t memoryBudget) {
    if (request.path.empty())
        return refused(ExportErrorCode::NoPath);
    if (request.path.back() == '/')
        return refusedName(ExportErrorCode::OutputIsFolder, request.path);
    if (const auto problem = outputNameProblem(firstOutputFile(target, request)))
        return refusedName(*problem, firstOutputFile(target, request));
    if (!kindValid(request.kind))
        return refused(ExportErrorCode::KindInvalid);
    if (target == ExportTarget::Gif && request.kind == ExportKind::Still)
        return refused(ExportErrorCode::StillAsGif);
    if (isAnimationFile(target) && request.kind == ExportKind::Still)
        return refused(ExportErrorCode::StillAsAnimation);
    if (target == ExportTarget::Svg && request.kind != ExportKind::Still)
        return refused(ExportErrorCode::SvgNotStill);
    if (request.transparent && !hasTransparency(target))
        return refused(ExportErrorCode::NoTransparency);
    if (request.webpQuality &&
        (target != ExportTarget::Webp || *request.webpQuality < kMinWebpQuality ||
         *request.webpQuality > kMaxWebpQuality))
        return refused(ExportErrorCode::QualityInvalid);
    if (request.kind == ExportKind::Vtr) {
        if (request.waitSeconds < 0)
            return refused(ExportErrorCode::WaitInvalid);
        if (request.waitSeconds > kMaxExportWaitSeconds)
            return refused(ExportErrorCode::WaitTooLong);
    }
    if (request.kind != ExportKind::Still &&
        (request.delay < kWobbleFrameDelay || request.delay > kMaxFrameDelay))
        return refused(ExportErrorCode::DelayInvalid);
    if (request.width <= 0)
        return refused(ExportErrorCode::WidthInvalid);
    if (request.height <= 0)
        return refused(ExportErrorCode::HeightInvalid);
    if (!imageSizeAllowed(request.width, request.height))
        return refused(ExportErrorCode::SizeTooLarge);
    if (target == ExportTarget::Webp &&
        (request.width > kMaxWebpSide || request.height > kMaxWebpSide))
        return refused(ExportErrorCode::WebpSizeTooLarge);

    const std::uint64_t frames = exportFrameCount(snapshot, request);
    if (frames > kMaxExportFrames) {
        ExportError error = refused(ExportErrorCode::TooManyFrames);
        error.frames = frames;
        return error;
    }
    if (target == ExportTarget::Gif && frames == 0)
        return refused(ExportErrorCode::NoGifFrames);
    if (isAnimationFile(target) && frames == 0)
        return refused(ExportErrorCode::NoAnimationFrames);
    if (const auto problem = outputNameProblem(lastOutputFile(target, request, frames)))
        return refusedName(*problem, lastOutputFile(target, request, frames));
    const std::uint64_t needed = exportMemoryEstimate(target, request, snapshot.properties, frames);
    if (needed > memoryBudget) {
        ExportError error = refused(ExportErrorCode::NotEnoughMemory);
        error.neededBytes = needed;
        error.availableBytes = memoryBudget;
        return error;
    }

    ExportPlan plan;
    plan.target_ = target;
    plan.request_ = request;
    plan.frameCount_ = frames;
    plan.replayStep_ = vtrExportStep(snapshot.properties.vtrSpeed, request.delay);
    plan.snapshot_ = std::move(snapshot);
    return plan;
}

}  // namespace rek
