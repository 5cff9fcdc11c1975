#pragma once

// The command line of rektool-export, read into options or refused with a message. The
// arguments are taken as bytes, so that file names reach the file system exactly as given,
// whatever their encoding.

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "export/export_job.h"
#include "export/export_settings.h"

namespace rek::cli {

struct Options {
    std::string modelPath;
    // The format to write; nothing for --info.
    std::optional<ExportTarget> target;
    std::string output;                    // --gif OUT, --bmp BASE and so on, as given
    ExportKind kind = ExportKind::Wobble;  // still for --svg
    std::int32_t waitSeconds = 5;
    int smoothness = 12;
    std::optional<std::pair<std::int32_t, std::int32_t>> size;  // default: the canvas size
    bool antiAlias = false;
    bool transparent = false;
    std::optional<std::uint32_t> seed;  // default: from the clock
    std::optional<int> quality;         // --webp only: lossy at this quality
    bool noWobble = false;              // --svg only: the vertices as stored
    bool quiet = false;                 // no progress bar, no closing line
    QString language;                   // --lang: empty for the locale's
};

struct HelpRequested {};
struct UsageError {
    std::string message;
};

using ParseOutcome = std::variant<Options, HelpRequested, UsageError>;

// `arguments` are argv without the program name.
ParseOutcome parseArguments(const std::vector<std::string>& arguments);

std::string helpText();

// The value of --lang as given, read before the language is chosen (the messages of
// parseArguments are in it); nothing without one or on a command line that cannot be read.
std::optional<std::string> languageArgument(const std::vector<std::string>& arguments);

}  // namespace rek::cli
