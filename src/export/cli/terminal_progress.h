#pragma once

// rektool-export's progress on standard error: on a terminal a bar with the frames done and
// the stage, rewritten in place; nothing when standard error is not a terminal or when asked
// to be quiet.

#include <cstdint>
#include <cstdio>
#include <string>

#include "export/export_job.h"

namespace rek::cli {

class TerminalProgress : public ExportProgress {
  public:
    // Shows the bar when `shown` (not quiet, and standard error is a terminal).
    TerminalProgress(std::FILE* out, bool shown);
    // Ends the bar's line if one is open.
    ~TerminalProgress() override;

    void stageChanged(ExportStage stage) override;
    void frameCountKnown(std::uint64_t frames) override;
    void frameDone(std::uint64_t done) override;

    // Ends the bar's line, so that a message can follow on a line of its own.
    void endLine();

    // The bar as drawn for done of total frames with a label: "[#####.....]  12/53 label".
    static std::string bar(std::uint64_t done, std::uint64_t total, const std::string& label);

  private:
    void draw();

    std::FILE* out_;
    bool shown_;
    bool lineOpen_ = false;
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
    std::string label_;
};

}  // namespace rek::cli
