#include <gtest/gtest.h>

#include <fstream>

#include "export/bmp_export.h"
#include "export_test_support.h"

namespace rek {
namespace {

class BmpExport : public test::EngineTest {
  protected:
    ExportOutcome run(const ExportRequest& r) { return EngineTest::run(ExportTarget::Bmp, r); }
    ExportRequest request(ExportKind kind, int width = 200, int height = 150) {
        return makeRequest("anim", kind, width, height);
    }
};

TEST_F(BmpExport, AStillImageIsOneUnwobbledFileThatRepeatsExactly) {
    // Offsets the screen had: the still image shows the stored positions all the same.
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = -3;
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok());
    EXPECT_EQ(dir.entryCount(), 1u);
    const auto file = dir.path("anim.bmp");
    const std::string bytes = test::readBytes(file);
    // Neither the generator nor the offsets change anything without wobble.
    snapshot.seed = 99;
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = 0;
    ASSERT_TRUE(run(request(ExportKind::Still, 400, 300)).ok());
    EXPECT_EQ(test::readBytes(file), bytes);
    const auto first = test::decodeRgb(file);
    if (!first)
        GTEST_SKIP() << "ImageMagick is not installed";
    ASSERT_EQ(first->size(), 400u * 300u * 3u);
    // The horizontal line lies on row 100, as stored: black from x 50 on, none above it.
    const auto row = [&](int y, int x) { return (*first)[(y * 400 + x) * 3]; };
    EXPECT_EQ(row(50, 200), 0);
    EXPECT_NE(row(45, 200), 0);
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

}  // namespace
}  // namespace rek
