#include "export/cli/terminal_progress.h"

#include "shell/text/export_messages.h"

namespace rek::cli {

namespace {

constexpr std::uint64_t kBarWidth = 30;

}  // namespace

TerminalProgress::TerminalProgress(std::FILE* out, bool shown) : out_(out), shown_(shown) {}

TerminalProgress::~TerminalProgress() {
    endLine();
}

std::string TerminalProgress::bar(std::uint64_t done, std::uint64_t total,
                                  const std::string& label) {
    const std::uint64_t filled = total == 0 ? kBarWidth : std::min(done, total) * kBarWidth / total;
    std::string text = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] ";
    text += std::to_string(done) + "/" + std::to_string(total);
    if (!label.empty())
        text += " " + label;
    return text;
}

void TerminalProgress::stageChanged(ExportStage stage) {
    label_ = messages::exportStage(stage).toStdString();
    if (stage == ExportStage::Done)
        done_ = total_;
    draw();
}

void TerminalProgress::frameCountKnown(std::uint64_t frames) {
    total_ = frames;
    done_ = 0;
    draw();
}

void TerminalProgress::frameDone(std::uint64_t done) {
    done_ = done;
    draw();
}

void TerminalProgress::draw() {
    if (!shown_)
        return;
    // Carriage return, the bar, and the rest of the line cleared.
    std::fprintf(out_, "\rrektool-export: %s\x1b[K", bar(done_, total_, label_).c_str());
    std::fflush(out_);
    lineOpen_ = true;
}

void TerminalProgress::endLine() {
    if (lineOpen_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    lineOpen_ = false;
}

}  // namespace rek::cli
