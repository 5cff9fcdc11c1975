#include "export/export_frames.h"

#include <algorithm>
#include <new>
#include <vector>

#include "export/resample.h"
#include "export/stretch_copy.h"
#include "render/frame_scene.h"
#include "render/wobble.h"

namespace rek::detail {

ExportOutcome exportFailure(ExportErrorCode code, std::uint64_t framesWritten) {
    ExportOutcome outcome;
    outcome.framesWritten = framesWritten;
    outcome.error = ExportError(code);
    return outcome;
}

ExportOutcome cannotWrite(const std::string& path) {
    ExportOutcome failed = exportFailure(ExportErrorCode::CannotWrite);
    failed.error->path = path;
    return failed;
}

ExportOutcome exportFinished(ExportProgress& progress, std::uint64_t framesWritten) {
    progress.stageChanged(ExportStage::Done);
    ExportOutcome outcome;
    outcome.framesWritten = framesWritten;
    return outcome;
}

FrameProducer::FrameProducer(const ExportPlan& plan)
    : plan_(plan),
      random_(plan.snapshot().seed),
      canvasWidth_(std::clamp(plan.snapshot().properties.width, 1, FrameRenderer::kSurfaceWidth)),
      canvasHeight_(
          std::clamp(plan.snapshot().properties.height, 1, FrameRenderer::kSurfaceHeight)) {
    // A replay starts from nothing; the other kinds draw the finished model.
    playback_.vtrPlaying = plan.request().kind == ExportKind::Vtr;
    playback_.vtrDrawnLength = 0;
}

bool FrameProducer::allocate() {
    try {
        renderer_ = std::make_unique<FrameRenderer>();
        vertices_ = plan_.snapshot().vertices;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return !renderer_->surface().isNull();
}

void FrameProducer::drawNext() {
    const ExportRequest& request = plan_.request();
    const ModelProperties& properties = plan_.snapshot().properties;
    // A still image is the model as stored: no wobble.
    newWobbleOffsets(vertices_, properties.wobbleAmount, request.kind != ExportKind::Still,
                     random_);

    FrameScene scene;
    scene.vertices = vertices_;
    scene.properties = properties;
    if (playback_.vtrPlaying)
        scene.replayLength = playback_.vtrDrawnLength;
    const FrameResult drawn = renderer_->drawFrame(scene);
    if (playback_.vtrPlaying)
        advanceReplay(playback_, drawn.complete, plan_.replayStep());
}

std::unique_ptr<Image> FrameProducer::next() {
    drawNext();
    std::unique_ptr<Image> image = targetImage();
    if (!image || !reduceColors(*image))
        return nullptr;
    return image;
}

bool FrameProducer::nextRgba(RgbaFrame& frame) {
    drawNext();
    const ExportRequest& request = plan_.request();
    try {
        if (request.antiAlias)
            return smoothedRgba(frame);
        const QImage& surface = renderer_->surface();
        frame.width = request.width;
        frame.height = request.height;
        frame.pixels.resize(static_cast<std::size_t>(request.width) *
                            static_cast<std::size_t>(request.height));
        stretchCopyAnd(reinterpret_cast<const std::uint32_t*>(surface.constBits()),
                       static_cast<std::size_t>(surface.bytesPerLine() / 4), canvasWidth_,
                       canvasHeight_, frame.pixels.data(), request.width, request.height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::uint32_t background = packedRgb(plan_.snapshot().properties.backgroundColor);
    for (std::uint32_t& pixel : frame.pixels) {
        pixel &= kRgbBits;
        pixel = request.transparent && pixel == background ? 0u : pixel | kOpaque;
    }
    return true;
}

bool FrameProducer::smoothedRgba(RgbaFrame& frame) const {
    const ExportRequest& request = plan_.request();
    const QImage& surface = renderer_->surface();
    const auto stride = static_cast<std::size_t>(surface.bytesPerLine() / 4);
    const auto width = static_cast<std::size_t>(canvasWidth_);
    const auto height = static_cast<std::size_t>(canvasHeight_);
    const std::uint32_t background = packedRgb(plan_.snapshot().properties.backgroundColor);

    // The canvas as drawn; with a transparent background, the drawing over black (its colours
    // weighted by coverage once resampled) and its coverage as a grey mask.
    std::vector<std::uint32_t> canvas(width * height);
    std::vector<std::uint32_t> coverage;
    if (request.transparent)
        coverage.resize(width * height);
    for (std::size_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(surface.constBits()) + y * stride;
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = row[x] & kRgbBits;
            if (!request.transparent) {
                canvas[y * width + x] = pixel;
            } else if (pixel != background) {
                canvas[y * width + x] = pixel;
                coverage[y * width + x] = kRgbBits;
            }
        }
    }
    frame.width = request.width;
    frame.height = request.height;
    frame.pixels =
        detail::resampleRgb(canvas, canvasWidth_, canvasHeight_, request.width, request.height);
    if (!request.transparent) {
        for (std::uint32_t& pixel : frame.pixels)
            pixel |= kOpaque;
        return true;
    }
    const std::vector<std::uint32_t> alpha =
        detail::resampleRgb(coverage, canvasWidth_, canvasHeight_, request.width, request.height);
    for (std::size_t i = 0; i < frame.pixels.size(); ++i)
        frame.pixels[i] = unpremultiplied(frame.pixels[i], alpha[i] & 0xFF);
    return true;
}

bool FrameProducer::nextRgb(std::vector<std::uint32_t>& pixels) {
    drawNext();
    return targetRgb(pixels);
}

bool FrameProducer::sampleRgb(std::vector<std::uint32_t>& pixels) {
    FrameScene scene;
    scene.vertices = vertices_;
    scene.properties = plan_.snapshot().properties;
    renderer_->drawFrame(scene);
    return targetRgb(pixels);
}

bool FrameProducer::targetRgb(std::vector<std::uint32_t>& pixels) {
    const ExportRequest& request = plan_.request();
    const QImage& surface = renderer_->surface();
    const auto* bits = reinterpret_cast<const std::uint32_t*>(surface.constBits());
    const auto stride = static_cast<std::size_t>(surface.bytesPerLine() / 4);
    try {
        pixels.resize(static_cast<std::size_t>(request.width) *
                      static_cast<std::size_t>(request.height));
        if (!request.antiAlias) {
            stretchCopyAnd(bits, stride, canvasWidth_, canvasHeight_, pixels.data(), request.width,
                           request.height);
            return true;
        }
        if (!resampler_) {
            resampler_ = std::make_unique<Resampler>(canvasWidth_, canvasHeight_, request.width,
                                                     request.height);
        }
        resampler_->run(bits, stride, pixels.data());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::unique_ptr<Image> FrameProducer::targetImage() const {
    const ExportRequest& request = plan_.request();
    const QImage& surface = renderer_->surface();
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(surface.constBits());
    const auto stride = static_cast<std::size_t>(surface.bytesPerLine() / 4);

    if (request.antiAlias) {
        // The canvas as drawn, resized with smoothing.
        std::unique_ptr<Image> image = Image::copyRgb(canvasWidth_, canvasHeight_, pixels, stride);
        if (!image || !resize(*image, request.width, request.height))
            return nullptr;
        return image;
    }
    // Brought to the target size directly, into the buffer the image takes over.
    std::vector<std::uint32_t> target;
    try {
        target.resize(static_cast<std::size_t>(request.width) *
                      static_cast<std::size_t>(request.height));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    stretchCopyAnd(pixels, stride, canvasWidth_, canvasHeight_, target.data(), request.width,
                   request.height);
    return Image::fromRgb(request.width, request.height, std::move(target));
}

}  // namespace rek::detail
