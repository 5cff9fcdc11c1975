#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "export/export_job.h"
#include "export/export_plan.h"

namespace rek {

// Name of one numbered file: base + "%04d" + ".bmp", or base + ".bmp" for a still image.
std::string bmpFileName(const std::string& base, ExportKind kind, std::uint64_t frame);

// Writes the plan's animation as numbered 8-bit BMP files from request().path (the base name)
// ..0000.bmp on, or the still image as request().path + ".bmp". The plan must be for
// ExportTarget::Bmp. The files appear only when all of them are written: a file that cannot
// be written, or a stop (polled between frames), leaves none of them and existing files of the
// same names untouched. 0 frames write nothing and succeed. Runs on the calling thread and
// touches nothing but the output files.
ExportOutcome exportBmpSequence(const ExportPlan& plan, ExportProgress& progress,
                                std::stop_token stop = {});

}  // namespace rek
