#pragma once

#include <QImage>

#include "model/model_properties.h"
#include "render/editor_state.h"

namespace rek {

// What a frame did to VTR replay, for the progress bar and the mode display.
struct FrameOutcome {
    bool vtrStepped = false;  // a frame was drawn during replay: step the progress bar once
    bool vtrEnded = false;    // the frame drew the whole list; replay is now off (stopVtr ran)
};

// Draws the model into the off-screen surface: one 800 x 600 image of which only the top-left
// canvas-sized region is used. Colours and widths are read from the model at every frame, so a
// property change shows in the next frame.
class FrameRenderer {
  public:
    using FrameOutcome = ::rek::FrameOutcome;

    static constexpr int kSurfaceWidth = kMaxCanvasWidth;
    static constexpr int kSurfaceHeight = kMaxCanvasHeight;

    FrameRenderer();

    // Background, shadow pass and line pass for the current offsets and VTR state. During
    // replay it draws up to vtrDrawnLength and then advances the replay or ends it.
    FrameOutcome drawFrame(EditorState& state);

    // The tool's rubber band and the red selection highlight, over the last frame.
    void drawOverlays(const EditorState& state);

    const QImage& surface() const { return surface_; }
    // A copy of the canvas-sized region of the surface.
    QImage frame(const ModelProperties& properties) const;

  private:
    QImage surface_;
};

}  // namespace rek
