#include "export/export_frames.h"

#include <algorithm>
#include <new>
#include <utility>

#include "export/stretch_copy.h"
#include "render/wobble.h"

namespace rek::detail {

ExportResult exportFailure(std::string text, MessageIcon icon) {
    ExportResult result;
    result.message = UserMessage{std::move(text), icon};
    return result;
}

ExportStateGuard::ExportStateGuard(EditorState& state, bool wobble)
    : state_(state),
      vtrSpeed_(state.model.properties.vtrSpeed),
      wobbleEnabled_(state.wobbleEnabled) {
    state_.exportBusy = true;
    state_.wobbleEnabled = wobble;
}

ExportStateGuard::~ExportStateGuard() {
    state_.model.properties.vtrSpeed = vtrSpeed_;
    state_.wobbleEnabled = wobbleEnabled_;
    if (restorePlayback_)
        state_.playback = playback_;
    state_.exportBusy = false;
}

void ExportStateGuard::startReplay(std::int32_t step) {
    // Set directly: the mode display is the window's business and is not refreshed here.
    state_.playback.vtrPlaying = true;
    state_.playback.vtrDrawnLength = 0;
    state_.model.properties.vtrSpeed = step;
}

void ExportStateGuard::holdReplay() {
    playback_ = state_.playback;
    restorePlayback_ = true;
    state_.playback.vtrPlaying = false;
}

FrameProducer::FrameProducer(EditorState& state, FrameRenderer& renderer,
                             const ExportRequest& request)
    : state_(state),
      renderer_(renderer),
      request_(request),
      canvasWidth_(std::clamp(state.model.properties.width, 1, FrameRenderer::kSurfaceWidth)),
      canvasHeight_(std::clamp(state.model.properties.height, 1, FrameRenderer::kSurfaceHeight)) {
    // With anti-aliasing the frame is captured at canvas size and resized with smoothing;
    // without, the stretch copy produces the target size directly.
    header_ = request.antiAlias ? CaptureHeader::forSize(canvasWidth_, canvasHeight_)
                                : CaptureHeader::forSize(request.width, request.height);
}

bool FrameProducer::allocate() {
    const std::size_t bytes = header_.pixelBytes();
    if (bytes == 0)
        return false;
    try {
        pixels_.assign(bytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::unique_ptr<Image> FrameProducer::next() {
    newWobbleOffsets(state_);
    renderer_.drawFrame(state_);

    const QImage& surface = renderer_.surface();
    const auto* source = reinterpret_cast<const std::uint32_t*>(surface.constBits());
    const int stride = static_cast<int>(surface.bytesPerLine() / 4);
    stretchCopyAnd(source, stride, canvasWidth_, canvasHeight_, pixels_.data(), header_.width,
                   header_.height);

    std::unique_ptr<Image> image = Image::fromDib(header_, std::span<const std::uint8_t>(pixels_));
    if (!image)
        return nullptr;
    if (request_.antiAlias && !resize(*image, request_.width, request_.height))
        return nullptr;
    if (!reduceColors(*image))
        return nullptr;
    return image;
}

}  // namespace rek::detail
