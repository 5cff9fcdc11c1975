#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "export/export_engine.h"
#include "export/export_job.h"
#include "export/export_plan.h"
#include "export/image_library.h"
#include "model/color_rgb.h"
#include "render/animation_snapshot.h"

namespace rek::test {

// A fresh directory removed again at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }
    std::size_t entryCount() const;

  private:
    std::filesystem::path dir_;
};

std::unique_ptr<Image> makeImage(int width, int height,
                                 const std::function<ColorRgb(int x, int y)>& colourAt);
// Top-down RGB bytes of the first frame as ImageMagick decodes it; nothing without it.
std::optional<std::vector<std::uint8_t>> decodeRgb(const std::filesystem::path& file);
std::string readBytes(const std::filesystem::path& file);

// A model of two segments, 700 and about 300.7 pixels long: 1000.7 pixels of line in all.
// Standard properties; the wobble seed is 7.
AnimationSnapshot twoSegmentModel();
// One short stroke of `length` pixels.
AnimationSnapshot shortLineModel(int length);

// The plan of a request that must pass the check (with memory to spare).
ExportPlan planFor(ExportTarget target, const ExportRequest& request,
                   const AnimationSnapshot& snapshot);

// Records everything an export reports, and can ask it to stop when a report comes.
class RecordingProgress : public ExportProgress {
  public:
    void stageChanged(ExportStage stage) override;
    void frameCountKnown(std::uint64_t frames) override { counts.push_back(frames); }
    void frameDone(std::uint64_t done) override;

    std::vector<ExportStage> stages;
    std::vector<std::uint64_t> counts;
    std::vector<std::uint64_t> done;
    // When set: the stop source is triggered once this stage is reported, or after this many
    // frames.
    std::stop_source stop;
    std::optional<ExportStage> stopAtStage;
    std::optional<std::uint64_t> stopAfterFrames;
};

// A two-segment model and a progress recorder, ready to run one export target into a
// temporary folder.
class EngineTest : public ::testing::Test {
  protected:
    ExportRequest makeRequest(const std::string& name, ExportKind kind, int width, int height) {
        ExportRequest r;
        r.path = dir.path(name).string();
        r.kind = kind;
        r.width = width;
        r.height = height;
        r.delay = kind == ExportKind::Wobble ? 6 : 12;
        return r;
    }
    ExportOutcome run(ExportTarget target, const ExportRequest& r) {
        return runExport(planFor(target, r, snapshot), progress, progress.stop.get_token());
    }

    TempDir dir;
    AnimationSnapshot snapshot = twoSegmentModel();
    RecordingProgress progress;
};

}  // namespace rek::test
