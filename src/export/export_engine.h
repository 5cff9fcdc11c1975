#pragma once

// The one entry point of the export engines: runs a checked plan with the engine of its target.

#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Runs the export on the calling thread: exportAnimatedGif for a GIF plan, exportBmpSequence
// for a BMP plan. `progress` is called on this thread; `stop` is polled between frames.
ExportOutcome runExport(const ExportPlan& plan, ExportProgress& progress,
                        std::stop_token stop = {});

}  // namespace rek
