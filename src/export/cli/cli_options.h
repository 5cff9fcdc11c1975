#pragma once

// The command line of rektool-export, read into options or refused with a message.

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "export/export_settings.h"

namespace rek::cli {

enum class Action { Gif, Bmp, Info };

struct Options {
    std::string modelPath;
    Action action = Action::Info;
    std::string output;  // --gif OUT or --bmp BASE, as given
    ExportKind kind = ExportKind::Wobble;
    std::int32_t waitSeconds = 5;
    int smoothness = 12;
    std::optional<std::pair<std::int32_t, std::int32_t>> size;  // default: the canvas size
    bool antiAlias = false;
    bool transparent = false;
    std::optional<std::uint32_t> seed;  // default: from the clock
};

struct HelpRequested {};
struct UsageError {
    std::string message;
};

using ParseOutcome = std::variant<Options, HelpRequested, UsageError>;

// `arguments` includes the program name first, as QCoreApplication::arguments() gives it.
ParseOutcome parseArguments(const QStringList& arguments);

std::string helpText();

}  // namespace rek::cli
