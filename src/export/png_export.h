#pragma once

#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Writes the plan's animation as numbered PNG files (BASE0000.png on, or BASE.png for the
// still image), each in full colour or with a palette, whichever is smaller; with a
// transparent background its pixels get alpha 0 and smoothed edges partial alpha. The plan
// must be for ExportTarget::Png. Written and stopped as the BMP set is (bmp_export.h).
ExportOutcome exportPngSequence(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop = {});

}  // namespace rek
