#include <gtest/gtest.h>

#include "export/export_frames.h"
#include "export/export_limits.h"
#include "export/gif_export.h"
#include "export_test_support.h"
#include "gif_test_support.h"
#include "model/model_file.h"

namespace rek {
namespace {

class GifExport : public test::EngineTest {
  protected:
    ExportOutcome run(const ExportRequest& r) { return EngineTest::run(ExportTarget::Gif, r); }
    ExportRequest request(ExportKind kind, int width = 800, int height = 600) {
        return makeRequest("anim.gif", kind, width, height);
    }
    // Throws, failing the test, when giflib refuses the file.
    test::ComposedGif composed(const ExportRequest& r) { return test::composeGif(r.path).value(); }
};

// The frames as the renderer draws them for the plan, before any colour is reduced, each pixel
// as a viewer of the GIF should show it (the background transparent where the plan asks).
std::vector<test::RgbaPixels> renderedFrames(const ExportPlan& plan) {
    detail::FrameProducer producer(plan);
    EXPECT_TRUE(producer.allocate());
    const ExportRequest& request = plan.request();
    const std::uint32_t background = test::opaque(plan.snapshot().properties.backgroundColor);
    const bool transparent = request.transparent && !request.antiAlias;
    std::vector<test::RgbaPixels> frames;
    std::vector<std::uint32_t> pixels;
    for (std::uint64_t i = 0; i < plan.frameCount(); ++i) {
        EXPECT_TRUE(producer.nextRgb(pixels));
        test::RgbaPixels frame(pixels.size());
        for (std::size_t p = 0; p < pixels.size(); ++p) {
            frame[p] = test::opaque(pixels[p]);
            if (transparent && frame[p] == background)
                frame[p] = 0;
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

// The largest difference of a channel, and the mean of every pixel's largest difference.
struct ColourError {
    int largest = 0;
    double mean = 0.0;
};
ColourError colourError(const std::vector<test::RgbaPixels>& a,
                        const std::vector<test::RgbaPixels>& b) {
    ColourError error;
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t f = 0; f < std::min(a.size(), b.size()); ++f) {
        for (std::size_t i = 0; i < a[f].size(); ++i, ++count) {
            int worst = 0;
            for (int shift = 0; shift < 32; shift += 8)
                worst = std::max(worst, std::abs(int((a[f][i] >> shift) & 0xFF) -
                                                 int((b[f][i] >> shift) & 0xFF)));
            error.largest = std::max(error.largest, worst);
            sum += worst;
        }
    }
    error.mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
    return error;
}

TEST_F(GifExport, WobbleLoopsForeverAndAReplayReportsEachStage) {
    const ExportRequest wobble = request(ExportKind::Wobble, 200, 150);
    ASSERT_TRUE(run(wobble).ok());
    test::DecodedGif decoded = test::decodeGif(wobble.path);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(test::gifLoopsForever(decoded.get()));
    EXPECT_EQ(test::gifControl(decoded.get(), 4).DelayTime, 6);

    progress = {};
    const ExportOutcome outcome = run(request(ExportKind::Vtr, 400, 300));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 53u);
    EXPECT_EQ(progress.counts, std::vector<std::uint64_t>{53});
    EXPECT_EQ(progress.done.size(), 53u);
    EXPECT_EQ(progress.stages,
              (std::vector<ExportStage>{ExportStage::CreatingImages, ExportStage::SavingGif,
                                        ExportStage::Done}));
}

TEST_F(GifExport, FramesDecodeToWhatTheRendererDrewInEveryReader) {
    // Same size, shrunk (lines ANDed), grown; a wobble; a transparent background, which
    // anti-aliasing (exact at half size) turns off.
    struct Case {
        ExportKind kind;
        int width;
        int height;
        bool transparent;
        bool antiAlias;
    };
    snapshot.properties.backgroundColor = {10, 200, 30};
    for (const Case& c : {Case{ExportKind::Vtr, 800, 600, false, false},
                          Case{ExportKind::Vtr, 300, 170, false, false},
                          Case{ExportKind::Wobble, 1000, 700, false, false},
                          Case{ExportKind::Vtr, 400, 300, true, false},
                          Case{ExportKind::Vtr, 400, 300, true, true}}) {
        ExportRequest r = request(c.kind, c.width, c.height);
        r.transparent = c.transparent;
        r.antiAlias = c.antiAlias;
        r.waitSeconds = 1;
        const ExportPlan plan = test::planFor(ExportTarget::Gif, r, snapshot);
        ASSERT_TRUE(exportAnimatedGif(plan, progress).ok());
        const test::ComposedGif gif = composed(r);
        const std::vector<test::RgbaPixels> rendered = renderedFrames(plan);
        ASSERT_EQ(gif.frames.size(), rendered.size());
        for (std::size_t f = 0; f < rendered.size(); ++f)
            ASSERT_TRUE(gif.frames[f] == rendered[f])
                << c.width << "x" << c.height << " frame " << f;
        if (c.transparent && !c.antiAlias) {
            EXPECT_GT(std::count(gif.frames[0].begin(), gif.frames[0].end(), 0u), 400 * 300 / 2);
        }
        test::expectReadersAgree(r.path, gif);
    }
}

TEST_F(GifExport, AntiAliasedFramesAtSizesWhoseBlendsOutnumberAPaletteComeClose) {
    // As close as libimagequant used to come.
    for (auto [width, height] : {std::pair{333, 250}, std::pair{1000, 750}}) {
        const ExportRequest r = [&] {
            ExportRequest r = request(ExportKind::Wobble, width, height);
            r.antiAlias = true;
            return r;
        }();
        const ExportPlan plan = test::planFor(ExportTarget::Gif, r, snapshot);
        ASSERT_TRUE(exportAnimatedGif(plan, progress).ok());
        const test::ComposedGif gif = composed(r);
        const ColourError error = colourError(gif.frames, renderedFrames(plan));
        EXPECT_LE(error.largest, 12) << width;
        EXPECT_LT(error.mean, 0.5) << width;
        test::expectReadersAgree(r.path, gif);
    }
}

TEST_F(GifExport, LeavesTheSnapshotAloneAndRepeatsExactlyForOneSeed) {
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDx = 2;  // whatever the screen showed last
    auto write = [&](const char* name) {
        ExportRequest r = request(ExportKind::Vtr, 200, 150);
        r.path = dir.path(name).string();
        EXPECT_TRUE(run(r).ok());
        return test::readBytes(r.path);
    };
    const std::string first = write("first.gif");
    EXPECT_EQ(write("again.gif"), first);
    for (const Vertex& vertex : snapshot.vertices)
        EXPECT_EQ(vertex.wobbleDx, 2);
    // The seed is where the wobble comes from: another one draws other frames.
    snapshot.seed = 8;
    EXPECT_NE(write("other.gif"), first);
}

// Looks into the folder whenever a frame is done: the file is written while frames are drawn.
class WatchingProgress : public ExportProgress {
  public:
    explicit WatchingProgress(std::filesystem::path folder) : folder_(std::move(folder)) {}
    void frameDone(std::uint64_t) override {
        std::uintmax_t bytes = 0;
        int files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            bytes += entry.file_size();
            ++files;
        }
        sizes.push_back(bytes);
        fileCounts.push_back(files);
    }
    std::vector<std::uintmax_t> sizes;
    std::vector<int> fileCounts;

  private:
    std::filesystem::path folder_;
};

TEST_F(GifExport, TheFileGrowsAsTheFramesAreDrawn) {
    const ExportRequest r = request(ExportKind::Vtr, 800, 600);
    WatchingProgress watching(dir.path(""));
    ASSERT_TRUE(runExport(test::planFor(ExportTarget::Gif, r, snapshot), watching).ok());
    ASSERT_EQ(watching.sizes.size(), 53u);
    // One temporary file all along, growing while frames are drawn, and less than the whole
    // file before the last frame.
    EXPECT_TRUE(std::all_of(watching.fileCounts.begin(), watching.fileCounts.end(),
                            [](int files) { return files == 1; }));
    EXPECT_TRUE(std::is_sorted(watching.sizes.begin(), watching.sizes.end()));
    EXPECT_GT(watching.sizes[30], watching.sizes[5]);
    EXPECT_LT(watching.sizes.back(), std::filesystem::file_size(r.path));
}

// A stop at any frame is tried for every format with the others; this is the stop after the
// last frame, while the file is finished.
TEST_F(GifExport, AStopWhileTheFileIsFinishedLeavesNoFileAndNoTemporary) {
    progress.stopAtStage = ExportStage::SavingGif;
    const ExportOutcome outcome = run(request(ExportKind::Vtr, 200, 150));
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->code, ExportErrorCode::Cancelled);
    EXPECT_EQ(progress.done.size(), 53u);
    EXPECT_EQ(progress.stages.back(), ExportStage::SavingGif);
    EXPECT_EQ(dir.entryCount(), 0u);
}

// The example models that come with the program, against the engine as it was.
AnimationSnapshot loadExample(const std::string& name) {
    ModelFileRead read = readModel(std::string(REK_EXAMPLES_DIR) + "/" + name + ".rkm");
    EXPECT_TRUE(std::holds_alternative<ModelFileContents>(read)) << name;
    AnimationSnapshot snapshot;
    if (auto* contents = std::get_if<ModelFileContents>(&read)) {
        if (contents->properties)
            snapshot.properties = *contents->properties;
        snapshot.vertices = std::move(contents->vertices);
    }
    snapshot.seed = 7;
    return snapshot;
}

// The sizes the engine wrote before it cut frames down and coded them with its own LZW coder
// (every frame whole, giflib's coder); it has to stay at least 3 % below them, with the
// renderer's frames.
TEST_F(GifExport, ExampleModelsComeOutSmallerThanWithTheOldEncoderWithTheSameFrames) {
    struct Case {
        const char* model;
        ExportKind kind;
        bool antiAlias;
        std::uintmax_t oldSize;
    };
    for (const Case& c : {Case{"face", ExportKind::Vtr, false, 65193},
                          Case{"house", ExportKind::Vtr, false, 138825},
                          Case{"tools", ExportKind::Vtr, true, 451290},
                          Case{"house", ExportKind::Wobble, true, 34751},
                          Case{"heavy", ExportKind::Wobble, false, 107661}}) {
        const AnimationSnapshot snapshot = loadExample(c.model);
        ExportRequest r;
        r.path = dir.path(std::string(c.model) + ".gif").string();
        r.kind = c.kind;
        r.delay = c.kind == ExportKind::Vtr ? kMaxFrameDelay : kWobbleFrameDelay;
        r.waitSeconds = 1;
        r.antiAlias = c.antiAlias;
        // The canvas size, or about half of it with anti-aliasing.
        r.width = c.antiAlias ? snapshot.properties.width / 2 + 1 : snapshot.properties.width;
        r.height = c.antiAlias ? snapshot.properties.height / 2 : snapshot.properties.height;
        const ExportPlan plan = test::planFor(ExportTarget::Gif, r, snapshot);
        ASSERT_TRUE(exportAnimatedGif(plan, progress).ok()) << c.model;
        EXPECT_LT(std::filesystem::file_size(r.path), c.oldSize * 97 / 100) << c.model;
        const test::ComposedGif gif = composed(r);
        ASSERT_EQ(gif.frames.size(), plan.frameCount()) << c.model;
        const ColourError error = colourError(gif.frames, renderedFrames(plan));
        EXPECT_LE(error.largest, c.antiAlias ? 12 : 0) << c.model;
        EXPECT_LT(error.mean, 0.5) << c.model;
    }
}

}  // namespace
}  // namespace rek
