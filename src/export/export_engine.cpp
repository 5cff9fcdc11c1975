#include "export/export_engine.h"

#include <utility>

#include "export/bmp_export.h"
#include "export/gif_export.h"

namespace rek {

ExportOutcome runExport(const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
    if (plan.target() == ExportTarget::Gif)
        return exportAnimatedGif(plan, progress, std::move(stop));
    return exportBmpSequence(plan, progress, std::move(stop));
}

}  // namespace rek
