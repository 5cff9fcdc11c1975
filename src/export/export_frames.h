#pragma once

// The part the GIF and BMP engines share: the settings an export changes and gives back,
// and the production of one frame image after another.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/export_job.h"
#include "export/image_library.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

namespace rek::detail {

// The result of an export that did not finish, with the message to show.
ExportResult exportFailure(std::string text, MessageIcon icon = MessageIcon::Error);

// Sets exportBusy and the wobble switch for the duration of an export and gives back, on
// every way out, the VTR speed and the wobble switch. A VTR export leaves the replay state
// as its last frame left it; the other kinds draw the finished model, so a replay running on
// screen is paused for them and continues afterwards.
class ExportStateGuard {
  public:
    ExportStateGuard(EditorState& state, bool wobble);
    ~ExportStateGuard();
    ExportStateGuard(const ExportStateGuard&) = delete;
    ExportStateGuard& operator=(const ExportStateGuard&) = delete;

    // Starts the replay from its beginning with the export's per-frame step as VTR speed.
    void startReplay(std::int32_t step);
    // Draws without replay; the replay state is put back at the end.
    void holdReplay();

  private:
    EditorState& state_;
    std::int32_t vtrSpeed_;
    bool wobbleEnabled_;
    bool restorePlayback_ = false;
    PlaybackState playback_;
};

// Draws and captures the frames of one export. The capture buffer is allocated once and
// reused for every frame.
class FrameProducer {
  public:
    FrameProducer(EditorState& state, FrameRenderer& renderer, const ExportRequest& request);

    // The work-screen buffer; false when the memory cannot be had.
    bool allocate();
    // The wobble step, one frame drawn, captured, brought to the target size and reduced to
    // its palette; nullptr when memory runs out on the way.
    std::unique_ptr<Image> next();

  private:
    EditorState& state_;
    FrameRenderer& renderer_;
    const ExportRequest& request_;
    int canvasWidth_;
    int canvasHeight_;
    CaptureHeader header_;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace rek::detail
