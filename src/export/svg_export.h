#pragma once

#include <stop_token>
#include <string>

#include "export/export_job.h"
#include "export/export_plan.h"
#include "render/animation_snapshot.h"

namespace rek {

// The drawing as an SVG document: the canvas as the view box, shown at width x height; the
// background as a rectangle unless it is to be transparent; one <path> per stroke for the
// shadow pass (moved down and right by half the line width, when the model has a shadow) and
// again for the line pass, with the model's colours and line width, round caps and joins.
// Vertices stand at their wobble offsets when `wobbleOffsets` is set, as stored otherwise.
// Without anti-aliasing the edges are asked to stay crisp.
std::string drawingAsSvg(const AnimationSnapshot& snapshot, const ExportRequest& request);

// Writes the plan's still image as an SVG file at request().path (atomically). The plan must
// be for ExportTarget::Svg.
ExportOutcome exportSvg(const ExportPlan& plan, ExportProgress& progress,
                        std::stop_token stop = {});

}  // namespace rek
