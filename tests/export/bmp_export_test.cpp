#include <gtest/gtest.h>

#include <fstream>

#include "export/bmp_export.h"
#include "export_test_support.h"
#include "image_test_support.h"

namespace rek {
namespace {

class BmpExport : public test::EngineTest<ExportTarget::Bmp> {
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
    const ExportOutcome outcome = run(request(ExportKind::Wobble, 123, 45));
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 5u);
    EXPECT_EQ(dir.entryCount(), 5u);
    for (int i = 0; i < 5; ++i) {
        const auto file = dir.path("anim000" + std::to_string(i) + ".bmp");
        ASSERT_TRUE(std::filesystem::exists(file)) << file;
        if (test::imageMagickAvailable()) {
            EXPECT_EQ(test::identify("%m %w %h", file), "BMP3 123 45");
        }
    }
    EXPECT_EQ(progress.stages,
              (std::vector<ExportStage>{ExportStage::CreatingImages, ExportStage::Done}));
    EXPECT_EQ(progress.counts, std::vector<std::uint64_t>{5});
    EXPECT_EQ(progress.done, (std::vector<std::uint64_t>{1, 2, 3, 4, 5}));
}

TEST_F(BmpExport, AStillImageIsOneUnwobbledFileThatRepeatsExactly) {
    // Offsets the screen had: the still image shows the stored positions all the same.
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = -3;
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok());
    EXPECT_EQ(dir.entryCount(), 1u);
    const auto file = dir.path("anim.bmp");
    ASSERT_TRUE(std::filesystem::exists(file));
    if (!test::imageMagickAvailable())
        GTEST_SKIP() << "ImageMagick is not installed";
    const auto first = test::decodeRgb(file);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size(), 400u * 300u * 3u);

    // Neither the generator nor the offsets change anything without wobble.
    snapshot.seed = 99;
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = 0;
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok());
    EXPECT_EQ(test::decodeRgb(file), first);
    // The horizontal line lies on row 100, as stored: black from x 50 on, none above it.
    const auto row = [&](int y, int x) { return (*first)[(y * 400 + x) * 3]; };
    EXPECT_EQ(row(50, 200), 0);
    EXPECT_NE(row(45, 200), 0);
}

TEST_F(BmpExport, VtrFileZeroShowsNoLineAndTheLastTheWholeModel) {
    ExportRequest r = request(ExportKind::Vtr, 800, 600);
    r.waitSeconds = 0;
    r.delay = 6;  // step 40: 25 frames
    ASSERT_TRUE(run(r).ok());
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
    snapshot = test::shortLineModel(30);
    ExportRequest r = request(ExportKind::Vtr);
    r.waitSeconds = 0;
    const ExportOutcome outcome = run(r);
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 0u);
    EXPECT_EQ(dir.entryCount(), 0u);
    EXPECT_TRUE(progress.done.empty());
    EXPECT_EQ(progress.stages,
              (std::vector<ExportStage>{ExportStage::CreatingImages, ExportStage::Done}));
}

TEST_F(BmpExport, AFileThatCannotBeWrittenLeavesNoneOfTheSetAndSaysWhich) {
    // A folder in the way of the third file; an old first file of the same name.
    std::filesystem::create_directory(dir.path("anim0002.bmp"));
    std::ofstream(dir.path("anim0000.bmp")) << "old";
    const ExportOutcome outcome = run(request(ExportKind::Wobble));
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 0u);
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->code, ExportErrorCode::CannotWrite);
    EXPECT_EQ(outcome.error->path, dir.path("anim0002.bmp").string());
    EXPECT_EQ(test::readBytes(dir.path("anim0000.bmp")), "old");
    EXPECT_EQ(dir.entryCount(), 2u);
    EXPECT_EQ(progress.stages, std::vector<ExportStage>{ExportStage::CreatingImages});
}

TEST_F(BmpExport, AStopRemovesTheFilesWrittenSoFar) {
    progress.stopAfterFrames = 2;
    const ExportOutcome outcome = run(request(ExportKind::Wobble));
    ASSERT_TRUE(outcome.error.has_value());
    EXPECT_EQ(outcome.error->code, ExportErrorCode::Cancelled);
    EXPECT_EQ(outcome.framesWritten, 0u);
    EXPECT_EQ(dir.entryCount(), 0u);
}

}  // namespace
}  // namespace rek
