#pragma once

// The one entry point of the export engines: runs a checked plan with the engine of its target.

#include <functional>
#include <stop_token>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Runs the export on the calling thread with the engine of the plan's target (GIF, BMP, WebP,
// APNG, PNG or SVG). `progress` is called on this thread; `stop` is polled between frames and
// before the output is put in place, and a stopped export leaves no file behind.
ExportOutcome runExport(const ExportPlan& plan, ExportProgress& progress,
                        std::stop_token stop = {});

// What runs a plan: runExport, or something that wraps it.
using ExportEngine =
    std::function<ExportOutcome(const ExportPlan&, ExportProgress&, std::stop_token)>;

}  // namespace rek
