#pragma once

// The engine of the numbered sets (BMP and PNG): one file per frame, staged, and renamed into
// place only when every frame is written.

#include <functional>
#include <stop_token>
#include <string>

#include "export/export_frames.h"
#include "export/export_plan.h"

namespace rek::detail {

enum class FrameWrite { Written, OutOfMemory, CannotWrite };

// Draws the next frame with `producer` and writes it as a whole file at `file`.
using NumberedFrameWriter =
    std::function<FrameWrite(FrameProducer& producer, const std::string& file)>;

struct NumberedSetErrors {
    ExportErrorCode workScreenMemory;
    ExportErrorCode frameMemory;
};

// Writes the plan's frames as numbered files named by numberedFileName with the target's
// extension. `stop` is polled before each frame and once more before the files are renamed;
// a stop or a failure leaves none of the set's files and every existing file as it was. 0
// frames write nothing and succeed.
ExportOutcome exportNumberedSet(const ExportPlan& plan, ExportProgress& progress,
                                const std::stop_token& stop, NumberedSetErrors errors,
                                const NumberedFrameWriter& writeFrame);

}  // namespace rek::detail
