#pragma once

// The GIF engine as it was before its frames were cut down and coded by an LZW coder of its
// own: every frame drawn, reduced to its own palette (exactly, or by libimagequant beyond 256
// colours), kept, and written whole by giflib, the first frame's palette as the global table
// and a local one where a frame's differs, each frame cleared before the next. Kept here so
// that what the engine writes now can be held against what it wrote then.

#include <filesystem>

#include "export/export_plan.h"

namespace rek::test {

// Writes the plan's frames as the old engine did; false when anything fails.
bool writeGifTheOldWay(const ExportPlan& plan, const std::filesystem::path& file);

}  // namespace rek::test
