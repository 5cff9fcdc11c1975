#include "export/export_job.h"

namespace rek {

bool isNumberedSet(ExportTarget target) {
    return target == ExportTarget::Bmp || target == ExportTarget::Png;
}

bool isAnimationFile(ExportTarget target) {
    return target == ExportTarget::Gif || target == ExportTarget::Webp ||
           target == ExportTarget::Apng;
}

bool hasTransparency(ExportTarget target) {
    return target != ExportTarget::Bmp;
}

}  // namespace rek
