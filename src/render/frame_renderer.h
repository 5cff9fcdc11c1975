#pragma once

#include <QImage>
#include <cstddef>

#include "model/model_properties.h"
#include "render/band_workers.h"
#include "render/frame_raster.h"
#include "render/frame_scene.h"
#include "render/step_spans.h"

namespace rek {

struct FrameResult {
    // Both passes reached the end of the drawing; false when a replay stopped them at its
    // length. A replay ends with the first complete frame.
    bool complete = true;
};

struct RendererOptions {
    // How many threads draw a frame, the caller's included. 0: one per core, at most
    // kMaxRendererThreads.
    int threads = 0;
    BandSplit split;
    // From this many selected vertices on, the highlight goes through the coverage mask like a
    // frame's lines, which pays off once the sweep over the whole surface does.
    std::size_t maskedHighlightFrom = 2000;
};

inline constexpr int kMaxRendererThreads = 4;

// Draws frames into the off-screen surface: one 800 x 600 image of which only the top-left
// canvas-sized region is used. Everything comes from the scene, so a property change shows in
// the next frame and the same renderer serves the screen and the exports alike. Large frames
// are drawn in bands by several threads (see FrameRaster). What it needs for drawing is kept
// from frame to frame: once warmed up, a frame allocates nothing.
class FrameRenderer {
  public:
    static constexpr int kSurfaceWidth = kMaxCanvasWidth;
    static constexpr int kSurfaceHeight = kMaxCanvasHeight;

    explicit FrameRenderer(RendererOptions options = {});

    // Background, shadow pass (offset by half the line width) and line pass, with each
    // vertex at its position plus its wobble offset; during a replay up to its length only.
    FrameResult drawFrame(const FrameScene& scene);

    // The rubber band and the red selection highlight, over the last frame.
    void drawOverlays(const OverlayScene& overlays);

    const QImage& surface() const { return surface_; }
    // A copy of the canvas-sized region of the surface.
    QImage frame(const ModelProperties& properties) const;

  private:
    QImage surface_;
    SpanTables tables_;
    // Between drawFrame calls the overlays use it too.
    FrameRaster raster_;
    BandWorkers workers_;
    std::size_t maskedHighlightFrom_;
};

}  // namespace rek
