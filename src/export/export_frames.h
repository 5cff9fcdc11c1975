#pragma once

// The part the engines share: drawing one frame after another from the plan's snapshot and
// bringing each to an image of the target size, in palette form (GIF, BMP) or in full colour
// with alpha (WebP, APNG, PNG).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/export_plan.h"
#include "export/image_library.h"
#include "export/resample.h"
#include "export/rgba_frame.h"
#include "render/frame_renderer.h"
#include "render/playback.h"
#include "render/random.h"

namespace rek::detail {

// The result of an export that did not finish.
ExportOutcome exportFailure(ExportErrorCode code, std::uint64_t framesWritten = 0);
// The failure to write `path`, named in the message.
ExportOutcome cannotWrite(const std::string& path);
// The result of an export that wrote all its frames; tells `progress` it is done.
ExportOutcome exportFinished(ExportProgress& progress, std::uint64_t framesWritten);

// Draws the frames of one export with a renderer, a wobble generator and a copy of the
// vertices of its own, so nothing outside the export is touched:
// - wobble: new offsets every frame, no replay;
// - VTR: new offsets every frame, a replay from length 0 growing by the plan's step, then
//   the finished model for the rest of the frames;
// - still: all offsets zero, no replay.
class FrameProducer {
  public:
    explicit FrameProducer(const ExportPlan& plan);

    // The work screen: the drawing surface and the copy of the vertices. False when the memory
    // cannot be had.
    bool allocate();
    // The wobble step, one frame drawn, brought to the target size (stretch copy, or smoothing
    // resize with anti-aliasing) and reduced to its palette; nullptr when memory runs out.
    std::unique_ptr<Image> next();
    // The same frame in full colour: opaque, or with the background transparent when the
    // request asks for it (with anti-aliasing the lines' smoothed edges get partial alpha).
    // Reuses `frame`'s buffer; false when memory runs out.
    bool nextRgba(RgbaFrame& frame);
    // The same frame at the target size in true colour as next() has it before the reduction:
    // width * height 0x00RRGGBB words into `pixels`, whose buffer is reused. False when memory
    // runs out.
    bool nextRgb(std::vector<std::uint32_t>& pixels);
    // The finished drawing as the snapshot holds it (its wobble offsets, no replay), as
    // nextRgb has it, without moving on: a preview of the colours the frames will have.
    bool sampleRgb(std::vector<std::uint32_t>& pixels);

  private:
    void drawNext();
    std::unique_ptr<Image> targetImage() const;
    bool smoothedRgba(RgbaFrame& frame) const;
    bool targetRgb(std::vector<std::uint32_t>& pixels);

    const ExportPlan& plan_;
    std::unique_ptr<FrameRenderer> renderer_;
    VertexList vertices_;
    Random random_;
    PlaybackState playback_;
    int canvasWidth_;
    int canvasHeight_;
    std::unique_ptr<Resampler> resampler_;  // made by the first smoothed frame
};

}  // namespace rek::detail
