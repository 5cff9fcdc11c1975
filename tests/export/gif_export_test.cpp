#include <gtest/gtest.h>

#include <set>

#include "export/export_limits.h"
#include "export/gif_export.h"
#include "export_test_support.h"
#include "image_test_support.h"

namespace rek {
namespace {

class GifExport : public test::EngineTest<exportAnimatedGif> {
  protected:
    ExportRequest request(ExportKind kind, int width = 800, int height = 600) {
        return makeRequest("anim.gif", kind, width, height);
    }
};

TEST_F(GifExport, WobbleIsFiveLoopingFramesOfSixHundredthsWhateverTheWait) {
    for (std::int64_t wait : {0LL, 5LL, 2000000000LL}) {
        ExportRequest r = request(ExportKind::Wobble, 320, 240);
        r.waitSeconds = wait;
        const ExportResult result = run(r);
        ASSERT_TRUE(result.ok) << result.message.text;
        EXPECT_EQ(result.framesWritten, 5u);
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

TEST_F(GifExport, VtrReplayFollowsTheStepFormulaAndGivesBackTheSettings) {
    state.wobbleEnabled = false;
    observer.watched = &state;
    const ExportRequest r = request(ExportKind::Vtr, 400, 300);
    const ExportResult result = run(r);
    ASSERT_TRUE(result.ok) << result.message.text;

    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 53);  // 1000.7 px at speed 40, delay 12, 5 s wait
    EXPECT_EQ(test::gifControl(gif.get(), 52).DelayTime, 12);
    // Frame 0 shows no line yet; the last shows the finished model (black line pixels).
    auto blackPixels = [&](int frame) {
        int count = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                count += test::gifPixel(gif.get(), frame, x, y) == ColorRgb{0, 0, 0};
        return count;
    };
    EXPECT_LT(blackPixels(0), 10);
    EXPECT_GT(blackPixels(52), 300);

    EXPECT_EQ(state.model.properties.vtrSpeed, 40);
    EXPECT_FALSE(state.wobbleEnabled);
    EXPECT_FALSE(state.exportBusy);
    // The wait covered the rest of the replay, which ended on its own.
    EXPECT_FALSE(state.playback.vtrPlaying);

    EXPECT_TRUE(observer.busyAtEveryPump);
    EXPECT_TRUE(observer.wobbleAtEveryPump);
    EXPECT_GE(observer.pumps, 54);
    EXPECT_EQ(observer.ranges, std::vector<int>{53});
    EXPECT_EQ(observer.steps, 53);
    EXPECT_EQ(observer.statuses,
              (std::vector<std::string>{kStatusCreatingImages, kStatusSavingGif, kStatusDone}));
}

TEST_F(GifExport, VtrWithoutWaitStopsInsideTheReplay) {
    ExportRequest r = request(ExportKind::Vtr, 200, 150);
    r.waitSeconds = 0;
    ASSERT_TRUE(run(r).ok);
    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 12);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 12u * 80u);
}

TEST_F(GifExport, MarksTheModelsCurrentBackgroundTransparentOnlyWithoutAntiAliasing) {
    state.model.properties.backgroundColor = {10, 200, 30};
    ExportRequest r = request(ExportKind::Wobble, 400, 300);
    r.transparent = true;
    ASSERT_TRUE(run(r).ok);
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
    ASSERT_TRUE(run(r).ok);
    gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    for (int i = 0; i < gif->ImageCount; ++i)
        EXPECT_EQ(test::gifControl(gif.get(), i).TransparentColor, NO_TRANSPARENT_COLOR);
}

TEST_F(GifExport, SmoothsOnlyWithAntiAliasing) {
    auto coloursOfFirstFrame = [&](bool antiAlias) {
        ExportRequest r = request(ExportKind::Wobble, 400, 300);
        r.antiAlias = antiAlias;
        EXPECT_TRUE(run(r).ok);
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

TEST_F(GifExport, AWobbleExportDuringAnOnScreenReplayDrawsTheFinishedModel) {
    state.playback.vtrPlaying = true;
    state.playback.vtrDrawnLength = 0;
    const ExportRequest r = request(ExportKind::Wobble, 800, 600);
    ASSERT_TRUE(run(r).ok);
    test::DecodedGif gif = test::decodeGif(r.path);
    ASSERT_TRUE(gif);
    // The end of the second segment is drawn in the very first frame.
    int black = 0;
    for (int y = 380; y < 410; ++y)
        for (int x = 680; x < 715; ++x)
            black += test::gifPixel(gif.get(), 0, x, y) == ColorRgb{0, 0, 0};
    EXPECT_GT(black, 0);
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 0u);
}

TEST_F(GifExport, AnUnwritablePathIsAFailureWithTheSettingsGivenBack) {
    state.wobbleEnabled = false;
    state.model.properties.vtrSpeed = 33;
    ExportRequest r = request(ExportKind::Vtr, 100, 75);
    r.path = dir.path("missing/folder/anim.gif").string();
    const ExportResult result = run(r);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.text.find(r.path), std::string::npos);
    EXPECT_EQ(result.message.icon, MessageIcon::Error);
    EXPECT_EQ(state.model.properties.vtrSpeed, 33);
    EXPECT_FALSE(state.wobbleEnabled);
    EXPECT_FALSE(state.exportBusy);
    EXPECT_EQ(std::count(observer.statuses.begin(), observer.statuses.end(), kStatusDone), 0);
    EXPECT_FALSE(std::filesystem::exists(r.path));
}

TEST_F(GifExport, RefusesARequestOutsideTheBoundsBeforeTouchingTheState) {
    state.playback.vtrPlaying = false;
    ExportRequest r = request(ExportKind::Vtr, 20000, 10);
    const ExportResult result = run(r);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message.text, kExportSizeTooLargeMessage);
    EXPECT_EQ(result.message.icon, MessageIcon::None);
    EXPECT_TRUE(observer.statuses.empty());
    EXPECT_FALSE(state.playback.vtrPlaying);
    EXPECT_FALSE(std::filesystem::exists(r.path));
}

}  // namespace
}  // namespace rek
