#pragma once

// The one check of an export request. What passes it is an ExportPlan, the only thing the
// engines accept, so an engine never sees a request that was not checked.

#include <cstdint>
#include <variant>

#include "export/export_job.h"
#include "render/animation_snapshot.h"

namespace rek {

// A checked export: the request, its own copy of what it draws, and the numbers the check
// worked out. Made only by validateExport; copyable, so it can be handed to another thread.
class ExportPlan {
  public:
    ExportTarget target() const { return target_; }
    const ExportRequest& request() const { return request_; }
    const AnimationSnapshot& snapshot() const { return snapshot_; }
    std::uint64_t frameCount() const { return frameCount_; }
    // Pixels of line a VTR export's replay adds per frame.
    std::int32_t replayStep() const { return replayStep_; }

  private:
    ExportPlan() = default;

    ExportTarget target_ = ExportTarget::Gif;
    ExportRequest request_;
    AnimationSnapshot snapshot_;
    std::uint64_t frameCount_ = 0;
    std::int32_t replayStep_ = 1;

    friend std::variant<ExportPlan, ExportError> validateExport(ExportTarget target,
                                                                const ExportRequest& request,
                                                                AnimationSnapshot snapshot,
                                                                std::uint64_t memoryBudget);
};

using ExportValidation = std::variant<ExportPlan, ExportError>;

// Checks a request against the drawing it is to export and the memory it may use (usually
// availableMemoryBytes()). The first problem found, in this order: path (empty, a folder, too
// long for the file system), kind, a kind the format cannot hold (a still animation, an SVG
// that is not still), transparency the format lacks, the WebP quality, the wait of a replay,
// the delay, width, height, the image bounds (WebP's are smaller), the frame count, an
// animation without frames, the name of the last file of a numbered set, memory.
ExportValidation validateExport(ExportTarget target, const ExportRequest& request,
                                AnimationSnapshot snapshot, std::uint64_t memoryBudget);

}  // namespace rek
