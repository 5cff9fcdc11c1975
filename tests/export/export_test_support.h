#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/export_engine.h"
#include "export/export_job.h"
#include "export/export_plan.h"
#include "image_test_support.h"
#include "model/color_rgb.h"
#include "render/animation_snapshot.h"

namespace rek::test {

// A model of two segments, 700 and about 300.7 pixels long: 1000.7 pixels of line in all.
// Standard properties; the wobble seed is 7.
AnimationSnapshot twoSegmentModel();
// One short stroke of `length` pixels.
AnimationSnapshot shortLineModel(int length);

// The plan of a request that must pass the check (with memory to spare).
ExportPlan planFor(ExportTarget target, const ExportRequest& request,
                   const AnimationSnapshot& snapshot);

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using DecodedGif = std::unique_ptr<GifFileType, GifCloser>;

// giflib's decoder over the whole file; null when it refuses the file.
DecodedGif decodeGif(const std::filesystem::path& file);
GraphicsControlBlock gifControl(GifFileType* gif, int frame);
bool gifLoopsForever(GifFileType* gif);
ColorRgb gifPixel(GifFileType* gif, int frame, int x, int y);

std::string readBytes(const std::filesystem::path& file);

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
template <ExportTarget Target>
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
    ExportOutcome run(const ExportRequest& r) {
        return runExport(planFor(Target, r, snapshot), progress, progress.stop.get_token());
    }

    TempDir dir;
    AnimationSnapshot snapshot = twoSegmentModel();
    RecordingProgress progress;
};

}  // namespace rek::test
