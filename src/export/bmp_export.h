#pragma once

#include <cstdint>
#include <string>

#include "export/export_job.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

namespace rek {

// Name of one numbered file: base + "%04d" + ".bmp", or base + ".bmp" for a still image.
std::string bmpFileName(const std::string& base, ExportKind kind, std::uint64_t frame);

// Writes the model's animation as numbered BMP files from request.path (the base name)
// ..0000.bmp on, or the still image as request.path + ".bmp". Stops at the first file that
// cannot be written (files written before it stay). 0 frames write nothing and succeed.
// Same state guarantees as exportAnimatedGif.
ExportResult exportBmpSequence(EditorState& state, FrameRenderer& renderer,
                               const ExportRequest& request, ExportObserver& observer);

}  // namespace rek
