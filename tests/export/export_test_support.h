#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export/export_job.h"
#include "image_test_support.h"
#include "model/color_rgb.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

namespace rek::test {

// A model of two segments, 700 and about 300.7 pixels long: 1000.7 pixels of line in all.
EditorState twoSegmentModel();
// One short stroke of `length` pixels.
EditorState shortLineModel(int length);

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using DecodedGif = std::unique_ptr<GifFileType, GifCloser>;

// giflib's decoder over the whole file; null when it refuses the file.
DecodedGif decodeGif(const std::filesystem::path& file);
GraphicsControlBlock gifControl(GifFileType* gif, int frame);
bool gifLoopsForever(GifFileType* gif);
ColorRgb gifPixel(GifFileType* gif, int frame, int x, int y);

// Records everything an export reports.
class RecordingObserver : public ExportObserver {
  public:
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgressRange(int maximum) override { ranges.push_back(maximum); }
    void stepProgress() override { ++steps; }
    void pumpEvents() override;

    const EditorState* watched = nullptr;  // checked at every pump when set
    std::vector<std::string> statuses;
    std::vector<int> ranges;
    int steps = 0;
    int pumps = 0;
    bool busyAtEveryPump = true;
    bool wobbleAtEveryPump = true;
};

// A two-segment model, a renderer and an observer, ready to run one export engine into a
// temporary folder.
template <auto Engine>
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
    ExportResult run(const ExportRequest& r) { return Engine(state, renderer, r, observer); }

    TempDir dir;
    EditorState state = twoSegmentModel();
    FrameRenderer renderer;
    RecordingObserver observer;
};

}  // namespace rek::test
