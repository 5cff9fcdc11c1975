#pragma once

#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Writes the plan's animation as one animated GIF at request().path: 5 wobble frames, or the
// VTR replay followed by the wait. The plan must be for ExportTarget::Gif. Runs on the calling
// thread, reporting to `progress`; `stop` is polled between frames, and a stopped export
// writes nothing at all. Touches nothing but the output file.
ExportOutcome exportAnimatedGif(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop = {});

}  // namespace rek
