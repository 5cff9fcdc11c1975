#include "export/export_engine.h"

#include <utility>

#include "export/apng_export.h"
#include "export/bmp_export.h"
#include "export/gif_export.h"
#include "export/png_export.h"
#include "export/svg_export.h"
#include "export/webp_export.h"

namespace rek {

ExportOutcome runExport(const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
    switch (plan.target()) {
        case ExportTarget::Gif:
            return exportAnimatedGif(plan, progress, std::move(stop));
        case ExportTarget::Bmp:
            return exportBmpSequence(plan, progress, std::move(stop));
        case ExportTarget::Webp:
            return exportAnimatedWebp(plan, progress, std::move(stop));
        case ExportTarget::Apng:
            return exportApng(plan, progress, std::move(stop));
        case ExportTarget::Png:
            return exportPngSequence(plan, progress, std::move(stop));
        case ExportTarget::Svg:
            return exportSvg(plan, progress, std::move(stop));
    }
    ExportOutcome outcome;
    outcome.error = ExportError(ExportErrorCode::KindInvalid);
    return outcome;
}

}  // namespace rek
