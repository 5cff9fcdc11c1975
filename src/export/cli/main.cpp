// rektool-export: the GIF and BMP exports for scripts and batch work, without a window.

#include <unistd.h>

#include <QDateTime>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "export/bmp_export.h"
#include "export/cli/cli_options.h"
#include "export/cli/model_info.h"
#include "export/export_dialog_rules.h"
#include "export/export_limits.h"
#include "export/gif_export.h"
#include "model/model_file.h"
#include "render/frame_renderer.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Status lines and a progress count on standard error: rewritten in place on a terminal,
// one line per tenth otherwise.
class StderrProgress : public rek::ExportObserver {
  public:
    StderrProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~StderrProgress() override { endLine(); }

    void setStatus(const std::string& text) override {
        endLine();
        std::fprintf(stderr, "rektool-export: %s\n", text.c_str());
    }
    void setProgressRange(int maximum) override {
        maximum_ = maximum;
        done_ = 0;
        lastTenth_ = -1;
    }
    void stepProgress() override {
        ++done_;
        const int tenth = maximum_ > 0 ? done_ * 10 / maximum_ : 10;
        if (terminal_) {
            std::fprintf(stderr, "\rrektool-export: frame %d/%d", done_, maximum_);
            lineOpen_ = true;
        } else if (tenth != lastTenth_) {
            std::fprintf(stderr, "rektool-export: frame %d/%d\n", done_, maximum_);
        }
        lastTenth_ = tenth;
        std::fflush(stderr);
    }

  private:
    void endLine() {
        if (lineOpen_)
            std::fputc('\n', stderr);
        lineOpen_ = false;
    }
    bool terminal_;
    bool lineOpen_ = false;
    int maximum_ = 0;
    int done_ = 0;
    int lastTenth_ = -1;
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

    rek::EditorState state;
    const rek::LoadResult loaded =
        rek::loadModel(state.model, state.tool, state.history, options.modelPath);
    if (!loaded.ok) {
        const std::string reason =
            loaded.message.empty() ? "the file cannot be opened" : loaded.message.text;
        std::fprintf(stderr, "rektool-export: %s: %s\n", options.modelPath.c_str(), reason.c_str());
        return kExitUsage;
    }

    if (options.action == rek::cli::Action::Info) {
        const QByteArray json =
            rek::cli::modelInfoJson(state.model, QString::fromStdString(options.modelPath));
        std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : kExitFailed;
    }

    const bool gif = options.action == rek::cli::Action::Gif;
    const QString output = QString::fromStdString(options.output);
    rek::ExportRequest request;
    request.path = (gif ? rek::gifOutputPath(output) : rek::bmpBaseName(output)).toStdString();
    request.kind = options.kind;
    request.width = options.size ? options.size->first : state.model.properties.width;
    request.height = options.size ? options.size->second : state.model.properties.height;
    request.antiAlias = options.antiAlias;
    request.transparent = gif && options.transparent;
    request.waitSeconds = options.waitSeconds;
    request.delay = options.kind == rek::ExportKind::Wobble
                        ? rek::kWobbleFrameDelay
                        : rek::frameDelayForSmoothness(options.smoothness);

    const rek::ExportTarget target = gif ? rek::ExportTarget::Gif : rek::ExportTarget::Bmp;
    if (const auto refused = rek::validateExport(target, request, state))
        return usageError(*refused);

    state.random.seed(
        options.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch())));

    rek::FrameRenderer renderer;
    StderrProgress progress;
    const rek::ExportResult result =
        gif ? rek::exportAnimatedGif(state, renderer, request, progress)
            : rek::exportBmpSequence(state, renderer, request, progress);
    if (!result.ok) {
        progress.setStatus(result.message.empty() ? "the export failed" : result.message.text);
        return kExitFailed;
    }
    std::fprintf(
        stderr, "rektool-export: %llu %s written to %s\n",
        static_cast<unsigned long long>(result.framesWritten),
        gif ? "frames" : (result.framesWritten == 1 ? "file" : "files"),
        gif ? request.path.c_str()
            : (request.path + (options.kind == rek::ExportKind::Still ? ".bmp" : "NNNN.bmp"))
                  .c_str());
    return 0;
}
