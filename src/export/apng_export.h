#pragma once

#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Writes the plan's animation as an animated PNG at request().path that loops forever, each
// frame encoded as soon as it is drawn (only the frame before is kept). Full colour: smoothed
// edges stay, and a transparent background is real alpha. The plan must be for
// ExportTarget::Apng. `stop` is polled between frames and before the file is put in place; a
// stopped or failed export leaves nothing at the path and an existing file untouched.
ExportOutcome exportApng(const ExportPlan& plan, ExportProgress& progress,
                         std::stop_token stop = {});

}  // namespace rek
