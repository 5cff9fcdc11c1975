#pragma once

#include "export/export_job.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

namespace rek {

// Writes the model's animation as one animated GIF at request.path: 5 wobble frames, or the
// VTR replay followed by the wait. Runs synchronously, reporting to `observer`; the request
// is checked with validateExport first (without the memory budget, which the callers check).
// On every way out exportBusy is cleared and the VTR speed and the wobble switch are back.
ExportResult exportAnimatedGif(EditorState& state, FrameRenderer& renderer,
                               const ExportRequest& request, ExportObserver& observer);

}  // namespace rek
