// rektool-export: the GIF and BMP exports for scripts and batch work, without a window.

#include <unistd.h>

#include <QDateTime>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "export/cli/cli_options.h"
#include "export/cli/model_info.h"
#include "export/export_dialog_rules.h"
#include "export/export_engine.h"
#include "export/export_limits.h"
#include "export/export_plan.h"
#include "model/model.h"
#include "model/model_file.h"
#include "render/animation_snapshot.h"
#include "shell/text/export_messages.h"
#include "shell/text/messages.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Status lines and a progress count on standard error: rewritten in place on a terminal,
// one line per tenth otherwise.
class StderrProgress : public rek::ExportProgress {
  public:
    StderrProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~StderrProgress() override { endLine(); }

    void stageChanged(rek::ExportStage stage) override {
        printLine(rek::messages::exportStage(stage).toStdString());
    }
    void frameCountKnown(std::uint64_t frames) override {
        maximum_ = frames;
        lastTenth_ = -1;
    }
    void frameDone(std::uint64_t done) override {
        const auto tenth =
            static_cast<std::int64_t>(maximum_ > 0 ? done * 10 / maximum_ : std::uint64_t{10});
        const auto shown = static_cast<unsigned long long>(done);
        const auto total = static_cast<unsigned long long>(maximum_);
        if (terminal_) {
            std::fprintf(stderr, "\rrektool-export: frame %llu/%llu", shown, total);
            lineOpen_ = true;
        } else if (tenth != lastTenth_) {
            std::fprintf(stderr, "rektool-export: frame %llu/%llu\n", shown, total);
        }
        lastTenth_ = tenth;
        std::fflush(stderr);
    }

    // A line of its own, after the progress count if one is open.
    void printLine(const std::string& text) {
        endLine();
        std::fprintf(stderr, "rektool-export: %s\n", text.c_str());
    }

  private:
    void endLine() {
        if (lineOpen_)
            std::fputc('\n', stderr);
        lineOpen_ = false;
    }
    bool terminal_;
    bool lineOpen_ = false;
    std::uint64_t maximum_ = 0;
    std::int64_t lastTenth_ = -1;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "rektool-export: %s\nTry 'rektool-export --help'.\n", message.c_str());
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    // Runs without a display unless a platform was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const rek::cli::ParseOutcome parsed = rek::cli::parseArguments(application.arguments());
    if (std::holds_alternative<rek::cli::HelpRequested>(parsed)) {
        std::cout << rek::cli::helpText();
        return 0;
    }
    if (const auto* bad = std::get_if<rek::cli::UsageError>(&parsed))
        return usageError(bad->message);
    const rek::cli::Options& options = std::get<rek::cli::Options>(parsed);

    rek::ModelFileRead read = rek::readModel(options.modelPath);
    if (const auto* error = std::get_if<rek::ModelFileError>(&read)) {
        const QString reason = rek::messages::modelFileError(*error).text;
        std::fprintf(stderr, "rektool-export: %s: %s\n", options.modelPath.c_str(),
                     reason.isEmpty() ? "the file cannot be opened" : reason.toUtf8().constData());
        return kExitUsage;
    }
    rek::ModelFileContents& contents = std::get<rek::ModelFileContents>(read);
    // A legacy file stores no properties: it is shown with the standard ones.
    rek::Model model;
    if (contents.properties)
        rek::setProperties(model, *contents.properties);
    model.vertices = std::move(contents.vertices);

    if (options.action == rek::cli::Action::Info) {
        const QByteArray json =
            rek::cli::modelInfoJson(model, QString::fromStdString(options.modelPath));
        std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailed;
    }

    const bool gif = options.action == rek::cli::Action::Gif;
    const QString output = QString::fromStdString(options.output);
    rek::ExportRequest request;
    request.path = (gif ? rek::gifOutputPath(output) : rek::bmpBaseName(output)).toStdString();
    request.kind = options.kind;
    request.width = options.size ? options.size->first : model.properties.width;
    request.height = options.size ? options.size->second : model.properties.height;
    request.antiAlias = options.antiAlias;
    request.transparent = gif && options.transparent;
    request.waitSeconds = options.waitSeconds;
    request.delay = options.kind == rek::ExportKind::Wobble
                        ? rek::kWobbleFrameDelay
                        : rek::frameDelayForSmoothness(options.smoothness);

    rek::AnimationSnapshot snapshot;
    snapshot.properties = model.properties;
    snapshot.vertices = std::move(model.vertices);
    snapshot.seed =
        options.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));

    const rek::ExportTarget target = gif ? rek::ExportTarget::Gif : rek::ExportTarget::Bmp;
    rek::ExportValidation checked =
        rek::validateExport(target, request, std::move(snapshot), rek::availableMemoryBytes());
    if (const auto* refused = std::get_if<rek::ExportError>(&checked))
        return usageError(rek::messages::exportError(*refused).text.toStdString());

    StderrProgress progress;
    const rek::ExportOutcome outcome = rek::runExport(std::get<rek::ExportPlan>(checked), progress);
    if (!outcome.ok()) {
        const QString reason = rek::messages::exportError(*outcome.error).text;
        progress.printLine(reason.isEmpty() ? std::string("the export failed")
                                            : reason.toStdString());
        return kExitFailed;
    }
    std::fprintf(
        stderr, "rektool-export: %llu %s written to %s\n",
        static_cast<unsigned long long>(outcome.framesWritten),
        gif ? "frames" : (outcome.framesWritten == 1 ? "file" : "files"),
        gif ? request.path.c_str()
            : (request.path + (options.kind == rek::ExportKind::Still ? ".bmp" : "NNNN.bmp"))
                  .c_str());
    return 0;
}
