#include "export/export_limits.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "render/geometry_ops.h"

namespace rek {

namespace {

std::uint64_t truncatedLength(double totalLength) {
    if (!(totalLength > 0.0))
        return 0;
    // The replay position is a 32-bit count, so longer drawings are measured up to its end.
    constexpr double kMax = std::numeric_limits<std::uint32_t>::max();
    return totalLength >= kMax ? std::numeric_limits<std::uint32_t>::max()
                               : static_cast<std::uint64_t>(totalLength);
}

}  // namespace

int frameDelayForSmoothness(int smoothness) {
    return kMaxFrameDelay - std::clamp(smoothness, kMinSmoothness, kMaxSmoothness);
}

std::int32_t vtrExportStep(std::int32_t vtrSpeed, int delay) {
    const std::int64_t step = std::int64_t{vtrSpeed} * delay / 6;
    // A step of 0 would divide by zero and never advance the replay.
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(step, 1, std::numeric_limits<std::int32_t>::max()));
}

std::uint64_t exportFrameCount(ExportKind kind, double totalLength, std::int32_t vtrSpeed,
                               std::int64_t waitSeconds, int delay) {
    switch (kind) {
        case ExportKind::Wobble:
            return 5;
        case ExportKind::Still:
            return 1;
        case ExportKind::Vtr:
            break;
    }
    const int safeDelay = std::max(delay, 1);
    const std::uint64_t step = static_cast<std::uint64_t>(vtrExportStep(vtrSpeed, safeDelay));
    const std::int64_t wait = std::clamp<std::int64_t>(waitSeconds, 0, INT64_MAX / 100);
    return truncatedLength(totalLength) / step + static_cast<std::uint64_t>(wait * 100 / safeDelay);
}

std::uint64_t exportFrameCount(const AnimationSnapshot& snapshot, const ExportRequest& request) {
    return exportFrameCount(request.kind, totalLineLength(snapshot.vertices),
                            snapshot.properties.vtrSpeed, request.waitSeconds, request.delay);
}

std::uint64_t exportMemoryEstimate(ExportTarget target, const ExportRequest& request,
                                   const ModelProperties& canvas, std::uint64_t frames) {
    const std::uint64_t targetPixels = static_cast<std::uint64_t>(std::max(request.width, 0)) *
                                       static_cast<std::uint64_t>(std::max(request.height, 0));
    const std::uint64_t canvasPixels =
        static_cast<std::uint64_t>(std::clamp(canvas.width, 0, kMaxCanvasWidth)) *
        static_cast<std::uint64_t>(std::clamp(canvas.height, 0, kMaxCanvasHeight));
    const std::uint64_t capturePixels = request.antiAlias ? canvasPixels : targetPixels;
    // One frame in flight, at 4 bytes a pixel: the frame as drawn and its image, the resize's
    // source and target and the colour reduction's working copy. Generous: the pixels that
    // leave the renderer are copied once at most.
    const std::uint64_t transient = capturePixels * 4 * 3 + targetPixels * 4 * 3;
    switch (target) {
        case ExportTarget::Bmp:
        case ExportTarget::Png:
        case ExportTarget::Svg:
            return transient;
        case ExportTarget::Apng:
            // The previous frame, to find what changed, and the changed part being encoded.
            return transient + targetPixels * 4 * 2;
        case ExportTarget::Webp: {
            // The encoder's canvases, and every frame compressed until the file is put
            // together: a line drawing compresses far below a bit per pixel.
            const std::uint64_t perFrame = targetPixels / 16 + 256;
            if (frames > 0 &&
                perFrame > (std::numeric_limits<std::uint64_t>::max() - transient) / frames / 2)
                return std::numeric_limits<std::uint64_t>::max();
            return transient + targetPixels * 4 * 4 + perFrame * frames;
        }
        case ExportTarget::Gif:
            // Frames are written as they come: what a decoder shows so far, the frame being
            // written and its changed rectangle twice (with and without transparency) and the
            // codes of one of them, at one byte a pixel.
            return transient + targetPixels * 5 + 4096;
    }
    return transient;
}

std::uint64_t availableMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            std::istringstream fields(line.substr(13));
            std::uint64_t kib = 0;
            if (fields >> kib)
                return kib * 1024;
        }
    }
    // Without that figure, allow half of the physical memory.
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
    return std::uint64_t{1} << 30;
}

}  // namespace rek
