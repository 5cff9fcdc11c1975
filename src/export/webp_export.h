#pragma once

#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Writes the plan's animation as an animated WebP at request().path that loops forever, each
// frame shown for exactly delay * 10 milliseconds: lossless, or lossy with
// request().webpQuality. Each frame is compressed as soon as it is drawn. Full colour: smoothed
// edges stay, and a transparent background is real alpha. The plan must be for
// ExportTarget::Webp. `stop` is polled between frames and before the file is put together; a
// stopped or failed export leaves nothing at the path and an existing file untouched.
ExportOutcome exportAnimatedWebp(const ExportPlan& plan, ExportProgress& progress,
                                 std::stop_token stop = {});

}  // namespace rek
