#pragma once

// Frame counting and the bounds every export is checked against before it starts, so that
// sizes and counts stay within 32-bit arithmetic and the frames fit in memory.

#include <cstdint>

#include "export/export_job.h"
#include "model/model_properties.h"
#include "render/animation_snapshot.h"

namespace rek {

inline constexpr std::int64_t kMaxExportWaitSeconds = 86400;  // one day
inline constexpr std::uint64_t kMaxExportFrames = 1000000;

// Pixels of line a VTR export adds per frame: vtrSpeed * delay / 6, truncated, at least 1.
std::int32_t vtrExportStep(std::int32_t vtrSpeed, int delay);

// Frames of an export: 5 for wobble, 1 for a still image; for VTR
// trunc(totalLength) / step + waitSeconds * 100 / delay. Worked out in 64 bits, so huge
// inputs give huge counts instead of wrapping; the bounds below then refuse them.
std::uint64_t exportFrameCount(ExportKind kind, double totalLength, std::int32_t vtrSpeed,
                               std::int64_t waitSeconds, int delay);
std::uint64_t exportFrameCount(const AnimationSnapshot& snapshot, const ExportRequest& request);

// Bytes an export keeps in memory at its peak (WebP: every frame compressed until the file is
// put together; the other formats hold a frame or two at a time).
std::uint64_t exportMemoryEstimate(ExportTarget target, const ExportRequest& request,
                                   const ModelProperties& canvas, std::uint64_t frames);

// Memory the export may use: what the system reports as available.
std::uint64_t availableMemoryBytes();

}  // namespace rek
