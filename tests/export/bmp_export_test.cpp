#include <gtest/gtest.h>

#include <fstream>

#include "export/bmp_export.h"
#include "export_test_support.h"
#include "image_test_support.h"

namespace rek {
namespace {

class BmpExport : public test::EngineTest<exportBmpSequence> {
  protected:
    ExportRequest request(ExportKind kind, int width = 200, int height = 150) {
        return makeRequest("anim", kind, width, height);
    }
};

TEST(BmpFileName, NumbersFramesFromZeroWithFourDigitsOrMore) {
    EXPECT_EQ(bmpFileName("out/anim", ExportKind::Wobble, 0), "out/anim0000.bmp");
    EXPECT_EQ(bmpFileName("anim", ExportKind::Vtr, 42), "anim0042.bmp");
    EXPECT_EQ(bmpFileName("anim", ExportKind::Vtr, 10000), "anim10000.bmp");
    EXPECT_EQ(bmpFileName("anim", ExportKind::Still, 0), "anim.bmp");
}

TEST_F(BmpExport, WobbleWritesFiveNumberedFilesOfTheTargetSize) {
    const ExportResult result = run(request(ExportKind::Wobble, 123, 45));
    ASSERT_TRUE(result.ok) << result.message.text;
    EXPECT_EQ(result.framesWritten, 5u);
    EXPECT_EQ(dir.entryCount(), 5u);
    for (int i = 0; i < 5; ++i) {
        const auto file = dir.path("anim000" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(std::filesystem::exists(file)) << file;
        if (test::imageMagickAvailable()) {
            EXPECT_EQ(test::identify("%m %w %h", file), "BMP3 123 45");
        }
    }
    EXPECT_EQ(observer.statuses, (std::vector<std::string>{kStatusCreatingImages, kStatusDone}));
    EXPECT_EQ(observer.steps, 5);
}

TEST_F(BmpExport, AStillImageIsOneUnwobbledFileThatRepeatsExactly) {
    state.wobbleEnabled = true;
    observer.watched = &state;
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok);
    EXPECT_FALSE(observer.wobbleAtEveryPump);  // drawn with the wobble switch off
    EXPECT_TRUE(state.wobbleEnabled);
    EXPECT_EQ(dir.entryCount(), 1u);
    const auto file = dir.path("anim.bmp");
    ASSERT_TRUE(std::filesystem::exists(file));
    if (!test::imageMagickAvailable())
        GTEST_SKIP() << "ImageMagick is not installed";
    const auto first = test::decodeRgb(file);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size(), 400u * 300u * 3u);

    state.random.seed(99);  // a different generator state changes nothing without wobble
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok);
    EXPECT_EQ(test::decodeRgb(file), first);
}

TEST_F(BmpExport, VtrFileZeroShowsNoLineAndTheLastTheWholeModel) {
    ExportRequest r = request(ExportKind::Vtr, 800, 600);
    r.waitSeconds = 0;
    r.delay = 6;  // step 40: 25 frames
    ASSERT_TRUE(run(r).ok);
    EXPECT_EQ(dir.entryCount(), 25u);
    if (!test::imageMagickAvailable())
        GTEST_SKIP() << "ImageMagick is not installed";
    auto drawnPixels = [&](const char* name) {
        const auto rgb = test::decodeRgb(dir.path(name));
        EXPECT_TRUE(rgb.has_value());
        int count = 0;
        for (std::size_t i = 0; rgb && i + 2 < rgb->size(); i += 3)
            count += !((*rgb)[i] == 238 && (*rgb)[i + 1] == 156 && (*rgb)[i + 2] == 0);
        return count;
    };
    // At most the pen's dot where the replay starts; then about 960 px of line and shadow.
    EXPECT_LT(drawnPixels("anim0000.bmp"), 40);
    EXPECT_GT(drawnPixels("anim0024.bmp"), 4000);
}

TEST_F(BmpExport, ZeroFramesWriteNothing) {
    state = test::shortLineModel(30);
    ExportRequest r = request(ExportKind::Vtr);
    r.waitSeconds = 0;
    const ExportResult result = run(r);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.framesWritten, 0u);
    EXPECT_EQ(dir.entryCount(), 0u);
    EXPECT_EQ(observer.steps, 0);
    // The replay was still set up with the step as speed, then given back.
    EXPECT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.model.properties.vtrSpeed, 40);
}

TEST_F(BmpExport, StopsAtAFileThatCannotBeWrittenAndSaysWhich) {
    // A folder in the way of the third file.
    std::filesystem::create_directory(dir.path("anim0002.bmp"));
    state.wobbleEnabled = false;
    state.model.properties.vtrSpeed = 17;
    const ExportResult result = run(request(ExportKind::Wobble));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.framesWritten, 2u);
    EXPECT_NE(result.message.text.find("anim0002.bmp"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.path("anim0001.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.path("anim0003.bmp")));
    EXPECT_FALSE(state.wobbleEnabled);
    EXPECT_EQ(state.model.properties.vtrSpeed, 17);
    EXPECT_FALSE(state.exportBusy);
    EXPECT_EQ(std::count(observer.statuses.begin(), observer.statuses.end(), kStatusDone), 0);
}

}  // namespace
}  // namespace rek
