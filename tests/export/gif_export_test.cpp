#include <gtest/gtest.h>

#include <set>

#include "export/export_limits.h"
#include "export/gif_export.h"
#include "export_test_support.h"
#include "image_test_support.h"

namespace rek {
namespace {

class GifExport : public test::EngineTest<ExportTarget::Gif> {
  protected:
    ExportRequest request(ExportKind kind, int width = 800, int height = 600) {
        return makeRequest("anim.gif", kind, width, height);
    }
};

int blackPixels(GifFileType* gif, int frame, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            count += test::gifPixel(gif, frame, x, y) == ColorRgb{0, 0, 0};
    return count;
}

TEST_F(GifExport, WobbleIsFiveLoopingFramesOfSixHundredthsWhateverTheWait) {
    for (std::int64_t wait : {0LL, 5LL, 2000000000LL}) {
        ExportRequest r = request(ExportKind::Wobble, 320, 240);
        r.waitSeconds = wait;
        const ExportOutcome outcome = run(r);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.framesWritten, 5u);
        test::DecodedGif gif = test::decodeGif(r.path);
        ASSERT_TRUE(gif);
        EXPECT_EQ(gif->ImageCount, 5);
        EXPECT_EQ(gif->SWidth, 320);
        EXPECT_EQ(gif->SHeight, 240);
        EXPECT_TRUE(test::gifLoopsForever(gif.get()));
        for (int i = 0; i < gif->ImageCount; ++i) {
            const GraphicsControlBlock gcb = test::gifControl(gif.get(), i);
            EXPECT_EQ(gcb.DelayTime, 6);
            EXPECT_EQ(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
        }
    }
    if (test::imageMagickAvailable()) {
        EXPECT_EQ(test::identify("%n %w %h\\n", dir.path("anim.gif")).value_or("").substr(0, 10),
                  "5 320 240\n");
    }
}

TEST_F(GifExport, VtrReplayFollowsTheStepFormulaAndReportsEachStage) {
    const ExportRequest r = request(ExportKind::Vtr, 400, 300);
    const ExportOutcome outcome = run(r);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 53u);

    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 53);  // 1000.7 px at speed 40, delay 12, 5 s wait
    EXPECT_EQ(test::gifControl(gif.get(), 52).DelayTime, 12);
    // Frame 0 shows no line yet; the last shows the finished model (black line pixels).
    EXPECT_LT(blackPixels(gif.get(), 0, 0, 0, 400, 300), 10);
    EXPECT_GT(blackPixels(gif.get(), 52, 0, 0, 400, 300), 300);

    EXPECT_EQ(progress.counts, std::vector<std::uint64_t>{53});
    ASSERT_EQ(progress.done.size(), 53u);
    EXPECT_EQ(progress.done.front(), 1u);
    EXPECT_EQ(progress.done.back(), 53u);
    EXPECT_EQ(progress.stages,
              (std::vector<ExportStage>{ExportStage::CreatingImages, ExportStage::SavingGif,
                                        ExportStage::Done}));
}

TEST_F(GifExport, VtrWithoutWaitStopsInsideTheReplay) {
    ExportRequest r = request(ExportKind::Vtr, 800, 600);
    r.waitSeconds = 0;
    ASSERT_TRUE(run(r).ok());
    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 12);
    // The last frame draws 11 * 80 = 880 of the 1000.7 pixels: 180 down the second segment,
    // to about (718, 277), and not its end at (697, 396).
    EXPECT_GT(blackPixels(gif.get(), 11, 705, 240, 740, 270), 0);
    EXPECT_EQ(blackPixels(gif.get(), 11, 680, 300, 740, 410), 0);
}

TEST_F(GifExport, MarksTheBackgroundTransparentOnlyWithoutAntiAliasing) {
    snapshot.properties.backgroundColor = {10, 200, 30};
    ExportRequest r = request(ExportKind::Wobble, 400, 300);
    r.transparent = true;
    ASSERT_TRUE(run(r).ok());
    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const GraphicsControlBlock gcb = test::gifControl(gif.get(), i);
        ASSERT_NE(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
        const SavedImage& image = gif->SavedImages[i];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        const GifColorType c = map->Colors[gcb.TransparentColor];
        EXPECT_EQ((ColorRgb{c.Red, c.Green, c.Blue}), (ColorRgb{10, 200, 30}));
        EXPECT_EQ(gcb.DisposalMode, DISPOSE_BACKGROUND);
    }

    r.antiAlias = true;
    ASSERT_TRUE(run(r).ok());
    gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    for (int i = 0; i < gif->ImageCount; ++i)
        EXPECT_EQ(test::gifControl(gif.get(), i).TransparentColor, NO_TRANSPARENT_COLOR);
}

TEST_F(GifExport, SmoothsOnlyWithAntiAliasing) {
    auto coloursOfFirstFrame = [&](bool antiAlias) {
        ExportRequest r = request(ExportKind::Wobble, 400, 300);
        r.antiAlias = antiAlias;
        EXPECT_TRUE(run(r).ok());
        test::DecodedGif gif = test::decodeGif(r.path);
        std::set<std::uint32_t> colours;
        for (int y = 0; gif && y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const ColorRgb c = test::gifPixel(gif.get(), 0, x, y);
                colours.insert((c.red << 16) | (c.green << 8) | c.blue);
            }
        return colours;
    };
    // The stretch copy only ANDs the three colours together; smoothing blends new ones.
    const std::set<std::uint32_t> plain = coloursOfFirstFrame(false);
    EXPECT_LE(plain.size(), 4u);
    EXPECT_TRUE(plain.count(0xEE9C00));
    EXPECT_TRUE(plain.count(0x000000));
    EXPECT_GT(coloursOfFirstFrame(true).size(), 8u);
}

TEST_F(GifExport, AWobbleExportDrawsTheFinishedModelFromTheFirstFrame) {
    const ExportRequest r = request(ExportKind::Wobble, 800, 600);
    ASSERT_TRUE(run(r).ok());
    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    // The end of the second segment is drawn in the very first frame.
    EXPECT_GT(blackPixels(gif.get(), 0, 680, 380, 715, 410), 0);
}

TEST_F(GifExport, LeavesTheSnapshotAloneAndRepeatsExactlyForOneSeed) {
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDx = 2;  // whatever the screen showed last
    const AnimationSnapshot before = snapshot;
    const ExportPlan plan =
        test::planFor(ExportTarget::Gif, request(ExportKind::Vtr, 200, 150), snapshot);

    ExportRequest second = plan.request();
    second.path = dir.path("again.gif").string();
    ASSERT_TRUE(exportAnimatedGif(plan, progress).ok());
    ASSERT_TRUE(
        exportAnimatedGif(test::planFor(ExportTarget::Gif, second, snapshot), progress).ok());

    ASSERT_EQ(plan.snapshot().vertices.size(), before.vertices.size());
    for (std::size_t i = 0; i < before.vertices.size(); ++i) {
        EXPECT_EQ(plan.snapshot().vertices[i].wobbleDx, 2) << i;
        EXPECT_EQ(plan.snapshot().vertices[i].wobbleDy, 0) << i;
        EXPECT_EQ(snapshot.vertices[i].wobbleDx, 2) << i;
        EXPECT_EQ(snapshot.vertices[i].x, before.vertices[i].x) << i;
    }
    EXPECT_EQ(snapshot.properties, before.properties);
    EXPECT_EQ(snapshot.seed, before.seed);

    const std::string first = test::readBytes(plan.request().path);
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(test::readBytes(second.path), first);

    // The seed is where the wobble comes from: another one draws other frames.
    snapshot.seed = 8;
    second.path = dir.path("other.gif").string();
    ASSERT_TRUE(
        exportAnimatedGif(test::planFor(ExportTarget::Gif, second, snapshot), progress).ok());
    EXPECT_NE(test::readBytes(second.path), first);
}

TEST_F(GifExport, AStopLeavesNoFileAndNoTemporaryWhereverItComes) {
    ExportRequest r = request(ExportKind::Vtr, 200, 150);
    auto expectCancelled = [&](const char* when) {
        const ExportOutcome outcome = run(r);
        ASSERT_TRUE(outcome.error.has_value()) << when;
        EXPECT_EQ(outcome.error->code, ExportErrorCode::Cancelled) << when;
        EXPECT_EQ(dir.entryCount(), 0u) << when;
        EXPECT_EQ(std::count(progress.stages.begin(), progress.stages.end(), ExportStage::Done), 0)
            << when;
    };
    progress.stop.request_stop();
    expectCancelled("before the first frame");
    EXPECT_TRUE(progress.done.empty());

    progress = {};
    progress.stopAfterFrames = 3;
    expectCancelled("between frames");
    EXPECT_EQ(progress.done.back(), 3u);

    // Once the frames are made the file is being written: the temporary must go too.
    progress = {};
    progress.stopAtStage = ExportStage::SavingGif;
    expectCancelled("while the file is written");
    EXPECT_EQ(progress.done.size(), 53u);
}

TEST_F(GifExport, AnUnwritablePathIsAFailureNamingThePath) {
    ExportRequest r = request(ExportKind::Vtr, 100, 75);
    r.path = dir.path("missing/folder/anim.gif").string();
    const ExportOutcome outcome = run(r);
    EXPECT_FALSE(outcome.ok());
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->code, ExportErrorCode::CannotWrite);
    EXPECT_EQ(outcome.error->path, r.path);
    EXPECT_EQ(outcome.framesWritten, 0u);
    EXPECT_EQ(progress.stages.back(), ExportStage::SavingGif);
    EXPECT_FALSE(std::filesystem::exists(r.path));
}

}  // namespace
}  // namespace rek
