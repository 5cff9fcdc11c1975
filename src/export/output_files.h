#pragma once

// The names of the files an export writes, and the checks of a name before anything starts.

#include <cstdint>
#include <optional>
#include <string>

#include "export/export_job.h"

namespace rek {

// The extension of a target's files, with the dot: ".gif", ".bmp", ".webp", ".png" (APNG and
// the PNG set alike) or ".svg".
const char* targetExtension(ExportTarget target);

// One file of a numbered set: base + "%04d" + extension, or base + extension for a still
// image.
std::string numberedFileName(const std::string& base, ExportKind kind, std::uint64_t frame,
                             const char* extension);

// The path of `target` for a name given on the command line, as bytes: a file gets the
// target's extension unless it ends in one of the target's (".apng" or ".png" for APNG); a
// set's base name loses its extension. A name that ends in a slash is kept as it is, to be
// refused.
std::string outputPathFor(ExportTarget target, const std::string& entered);

// The file written first: the output itself, or the first of a numbered set.
std::string firstOutputFile(ExportTarget target, const ExportRequest& request);
// The file written last (the one with the longest name of a numbered set).
std::string lastOutputFile(ExportTarget target, const ExportRequest& request, std::uint64_t frames);

// What is wrong with an output file's name, if anything: OutputIsFolder for a name that ends
// in a slash or names a folder, PathTooLong for a name the file system cannot hold.
std::optional<ExportErrorCode> outputNameProblem(const std::string& file);

}  // namespace rek
