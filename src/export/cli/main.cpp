// rektool-export: the exports for scripts and batch work, without a window.

#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "export/cli/cli_options.h"
#include "export/cli/cli_text.h"
#include "export/cli/model_info.h"
#include "export/cli/signal_stop.h"
#include "export/cli/terminal_progress.h"
#include "export/export_engine.h"
#include "export/export_limits.h"
#include "export/export_plan.h"
#include "export/output_files.h"
#include "model/model.h"
#include "model/model_file.h"
#include "render/animation_snapshot.h"
#include "shell/text/export_messages.h"
#include "shell/text/language.h"
#include "shell/text/messages.h"

namespace {

// English as written here, or translated into the language chosen at start-up.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(ExportCommandLine)
};

using rek::cli::withArguments;

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int usageError(const std::string& message) {
    std::fprintf(stderr, "rektool-export: %s\n%s\n", message.c_str(),
                 Text::tr("Try 'rektool-export --help'.").toUtf8().constData());
    return kExitUsage;
}

// The failure as one line after the program's name.
void report(const std::string& message) {
    std::fprintf(stderr, "rektool-export: %s\n", message.c_str());
}

// Writes the bytes to standard output and flushes it; a failure (a full disk, a closed pipe)
// is reported and is exit status 1.
int writeStandardOutput(const QByteArray& bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    errno = 0;
    const bool written = std::fwrite(bytes.constData(), 1, size, stdout) == size;
    const bool flushed = std::fflush(stdout) == 0;
    if (written && flushed && std::ferror(stdout) == 0)
        return 0;
    const int error = errno != 0 ? errno : EIO;
    report(withArguments(Text::tr("cannot write to standard output: %1"), {std::strerror(error)}));
    return kExitFailed;
}

// The closing line: how many frames or files, and where.
QString writtenLine(rek::ExportTarget target, std::uint64_t frames) {
    if (rek::isNumberedSet(target)) {
        return frames == 1 ? Text::tr("%1 file written to %2") : Text::tr("%1 files written to %2");
    }
    return frames == 1 ? Text::tr("%1 frame written to %2") : Text::tr("%1 frames written to %2");
}

}  // namespace

int main(int argc, char** argv) {
    // Before any thread starts, so that every thread leaves the two signals to the waiter.
    rek::cli::SignalStop interrupts;

    // The arguments are read from argv as bytes; Qt's decoded copy could change file names.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    // The frames are drawn into plain images: no window system is needed, nor asked for.
    QCoreApplication application(argc, argv);
    // The language comes first: every message below is in it. A --lang the program does not
    // speak is refused by parseArguments, in the locale's language.
    const std::optional<std::string> language = rek::cli::languageArgument(arguments);
    const std::optional<QString> named =
        language ? rek::languageNamed(*language) : std::optional<QString>();
    rek::useLanguage(named.value_or(rek::systemLanguage()));

    const rek::cli::ParseOutcome parsed = rek::cli::parseArguments(arguments);
    if (std::holds_alternative<rek::cli::HelpRequested>(parsed)) {
        return writeStandardOutput(QByteArray::fromStdString(rek::cli::helpText()));
    }
    if (const auto* bad = std::get_if<rek::cli::UsageError>(&parsed))
        return usageError(bad->message);
    const rek::cli::Options& options = std::get<rek::cli::Options>(parsed);

    rek::ModelFileRead read = rek::readModel(options.modelPath);
    if (const auto* error = std::get_if<rek::ModelFileError>(&read)) {
        QString reason = rek::messages::modelFileError(*error).text;
        if (reason.isEmpty())
            reason = Text::tr("the file cannot be opened");
        report(withArguments(QStringLiteral("%1: %2"), {options.modelPath, reason.toStdString()}));
        return kExitUsage;
    }
    rek::ModelFileContents& contents = std::get<rek::ModelFileContents>(read);
    // A legacy file stores no properties: it is shown with the standard ones.
    rek::Model model;
    if (contents.properties)
        rek::setProperties(model, *contents.properties);
    model.vertices = std::move(contents.vertices);

    if (!options.target) {
        return writeStandardOutput(rek::cli::modelInfoJson(
            model, QFile::decodeName(QByteArray::fromStdString(options.modelPath))));
    }

    const rek::ExportTarget target = *options.target;
    rek::ExportRequest request;
    request.path = rek::outputPathFor(target, options.output);
    request.kind = options.kind;
    request.width = options.size ? options.size->first : model.properties.width;
    request.height = options.size ? options.size->second : model.properties.height;
    request.antiAlias = options.antiAlias;
    request.transparent = options.transparent;
    request.waitSeconds = options.waitSeconds;
    request.delay = options.kind == rek::ExportKind::Wobble
                        ? rek::kWobbleFrameDelay
                        : rek::frameDelayForSmoothness(options.smoothness);
    request.webpQuality = options.quality;
    request.wobbleOffsets = !options.noWobble;

    rek::AnimationSnapshot snapshot;
    snapshot.properties = model.properties;
    snapshot.vertices = std::move(model.vertices);
    snapshot.seed =
        options.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));

    rek::ExportValidation checked =
        rek::validateExport(target, request, std::move(snapshot), rek::availableMemoryBytes());
    if (const auto* refused = std::get_if<rek::ExportError>(&checked))
        return usageError(rek::messages::exportError(*refused).text.toStdString());

    rek::ExportOutcome outcome;
    {
        rek::cli::TerminalProgress progress(stderr, !options.quiet && ::isatty(STDERR_FILENO) == 1);
        interrupts.exportStarting();
        outcome = rek::runExport(std::get<rek::ExportPlan>(checked), progress, interrupts.token());
        interrupts.exportEnded();
    }
    if (const int signal = interrupts.received();
        signal != 0 && outcome.error && outcome.error->code == rek::ExportErrorCode::Cancelled) {
        report(withArguments(Text::tr("stopped by %1; nothing was written"),
                             {signal == SIGINT ? "SIGINT" : "SIGTERM"}));
        return 128 + signal;
    }
    if (!outcome.ok()) {
        const QString reason = rek::messages::exportError(*outcome.error).text;
        report(reason.isEmpty() ? Text::tr("the export failed").toStdString()
                                : reason.toStdString());
        return kExitFailed;
    }
    if (!options.quiet) {
        const std::string written =
            rek::isNumberedSet(target) && options.kind != rek::ExportKind::Still
                ? request.path + "NNNN" + rek::targetExtension(target)
                : rek::firstOutputFile(target, request);
        report(withArguments(writtenLine(target, outcome.framesWritten),
                             {std::to_string(outcome.framesWritten), written}));
    }
    return 0;
}
