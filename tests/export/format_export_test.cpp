// The full-colour formats (WebP, APNG, PNG sets) and the SVG still image, read back by
// independent decoders and compared with the frames the renderer draws for the same plan.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "export/bmp_export.h"
#include "export/export_frames.h"
#include "export/output_files.h"
#include "export/svg_export.h"
#include "export_test_support.h"
#include "file_helpers.h"
#include "format_decoders.h"

namespace rek {
namespace {

// The frames the engines are fed, drawn straight from the plan.
std::vector<RgbaFrame> rendererFrames(const ExportPlan& plan) {
    detail::FrameProducer producer(plan);
    EXPECT_TRUE(producer.allocate());
    std::vector<RgbaFrame> frames(plan.frameCount());
    for (RgbaFrame& frame : frames)
        EXPECT_TRUE(producer.nextRgba(frame));
    return frames;
}

// The first pixel that differs, for a readable failure.
::testing::AssertionResult sameFrame(const RgbaFrame& actual, const RgbaFrame& expected) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure()
               << actual.width << "x" << actual.height << " instead of " << expected.width << "x"
               << expected.height;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (actual.at(x, y) != expected.at(x, y))
                return ::testing::AssertionFailure()
                       << std::hex << "pixel (" << std::dec << x << ", " << y << ") is 0x"
                       << std::hex << actual.at(x, y) << " instead of 0x" << expected.at(x, y);
        }
    }
    return ::testing::AssertionSuccess();
}

class FormatExport : public test::EngineTest {
  protected:
    ExportRequest request(const std::string& name, ExportKind kind, int width, int height) {
        ExportRequest r = makeRequest(name, kind, width, height);
        r.waitSeconds = 1;
        return r;
    }
    std::vector<RgbaFrame> expected(ExportTarget target, const ExportRequest& r) {
        return rendererFrames(test::planFor(target, r, snapshot));
    }
    // Every frame reported once, in order, up to the count announced.
    void expectProgressOncePerFrame(std::uint64_t frames) {
        ASSERT_EQ(progress.counts, std::vector<std::uint64_t>{frames});
        ASSERT_EQ(progress.done.size(), frames);
        for (std::uint64_t i = 0; i < frames; ++i)
            EXPECT_EQ(progress.done[i], i + 1);
    }
};

// Lossless WebP and APNG, plain, smoothed and with a transparent background (real alpha,
// smoothed edges included).
TEST_F(FormatExport, AnimationsDecodeToTheRenderersFramesWithExactDelays) {
    for (const ExportTarget target : {ExportTarget::Webp, ExportTarget::Apng}) {
        for (const int look : {0, 1, 2}) {
            SCOPED_TRACE(std::string(targetExtension(target)) + " look " + std::to_string(look));
            progress = {};
            ExportRequest r = request(outputPathFor(target, "anim"), ExportKind::Vtr, 200, 150);
            r.antiAlias = look > 0;
            r.transparent = look == 2;
            const ExportOutcome outcome = run(target, r);
            ASSERT_TRUE(outcome.ok());
            const auto decoded =
                target == ExportTarget::Webp ? test::decodeWebp(r.path) : test::decodeApng(r.path);
            ASSERT_TRUE(decoded.has_value());
            const std::vector<RgbaFrame> frames = expected(target, r);
            ASSERT_EQ(decoded->frames.size(), frames.size());
            EXPECT_EQ(outcome.framesWritten, frames.size());
            EXPECT_EQ(decoded->loopCount, 0u);
            for (std::size_t i = 0; i < frames.size(); ++i) {
                EXPECT_TRUE(sameFrame(decoded->frames[i], frames[i])) << "frame " << i;
                EXPECT_EQ(decoded->delaysMs[i], 120) << "frame " << i;
            }
            expectProgressOncePerFrame(frames.size());
            EXPECT_EQ(progress.stages.back(), ExportStage::Done);
            EXPECT_EQ(dir.entryCount(), 1u);
            const std::vector<std::uint32_t>& last = decoded->frames.back().pixels;
            EXPECT_EQ(std::count_if(
                          last.begin(), last.end(),
                          [](std::uint32_t p) { return (p >> 24) > 0 && (p >> 24) < 255; }) > 100,
                      look == 2);
            if (target == ExportTarget::Apng) {
                // Without smoothing the frames hold a few known colours: a palette.
                if (look < 2) {
                    EXPECT_EQ(test::pngColorType(r.path), look == 0 ? 3 : 2);
                }
                // Plain libpng shows the first frame as the default image.
                const auto first = test::decodePng(std::filesystem::path(r.path));
                ASSERT_TRUE(first.has_value());
                EXPECT_TRUE(sameFrame(*first, frames[0]));
            }
            std::filesystem::remove(r.path);
        }
    }
}

TEST_F(FormatExport, ApngStoresOnlyWhatChangedSinceTheFrameBefore) {
    snapshot.properties.wobbleAmount = 0;  // the finished drawing then stands still
    ExportRequest r = request("still.png", ExportKind::Vtr, 400, 300);
    ASSERT_TRUE(run(ExportTarget::Apng, r).ok());
    const auto decoded = test::decodeApng(r.path);
    ASSERT_TRUE(decoded.has_value());
    // The replay grows by 80 pixels a frame and is whole in frame 13; the rest repeat it.
    ASSERT_EQ(decoded->storedAreas.size(), 20u);
    EXPECT_EQ(decoded->storedAreas[0], 400u * 300u);
    for (std::size_t i = 1; i < 12; ++i)
        EXPECT_LT(decoded->storedAreas[i], 400u * 300u / 4) << i;  // the replay's new part
    for (std::size_t i = 14; i < 20; ++i)
        EXPECT_EQ(decoded->storedAreas[i], 1u) << i;  // nothing changed
    EXPECT_TRUE(sameFrame(decoded->frames[19], expected(ExportTarget::Apng, r)[19]));
}

TEST_F(FormatExport, PngSetIsNumberedTakesThePaletteWhenSmallerAndMatchesTheFrames) {
    ExportRequest r = request("frames", ExportKind::Wobble, 200, 150);
    ASSERT_TRUE(run(ExportTarget::Png, r).ok());
    EXPECT_EQ(dir.entryCount(), 5u);
    std::vector<RgbaFrame> frames = expected(ExportTarget::Png, r);
    for (int i = 0; i < 5; ++i) {
        const auto file = dir.path("frames000" + std::to_string(i) + ".png");
        EXPECT_EQ(test::pngColorType(file), 3) << file;  // three colours: a palette
        const auto decoded = test::decodePng(file);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_TRUE(sameFrame(*decoded, frames[i])) << file;
    }
    expectProgressOncePerFrame(5);

    // Smoothed edges over a wobbling drawing have more colours than a palette holds.
    snapshot = test::shortLineModel(600);
    snapshot.vertices.push_back(snapshot.vertices[0]);
    snapshot.vertices.back().kind = static_cast<std::uint8_t>(VertexKind::Joined);
    snapshot.vertices.back().y = 500;
    snapshot.vertices.back().x = 333;
    ExportRequest smooth = request("smooth", ExportKind::Still, 301, 227);
    smooth.antiAlias = true;
    progress = {};
    ASSERT_TRUE(run(ExportTarget::Png, smooth).ok());
    EXPECT_EQ(test::pngColorType(dir.path("smooth.png")), 2);
    const auto still = test::decodePng(dir.path("smooth.png"));
    ASSERT_TRUE(still.has_value());
    EXPECT_TRUE(sameFrame(*still, expected(ExportTarget::Png, smooth)[0]));
}

TEST_F(FormatExport, ThePaletteFramesAndTheFullColourFramesAgree) {
    // Without anti-aliasing both paths hold the renderer's exact colours.
    const ExportRequest r = request("x", ExportKind::Vtr, 160, 120);
    const ExportPlan plan = test::planFor(ExportTarget::Bmp, r, snapshot);
    detail::FrameProducer reduced(plan);
    detail::FrameProducer full(plan);
    ASSERT_TRUE(reduced.allocate() && full.allocate());
    RgbaFrame frame;
    for (std::uint64_t i = 0; i < plan.frameCount(); ++i) {
        const std::unique_ptr<Image> image = reduced.next();
        ASSERT_TRUE(image && full.nextRgba(frame));
        for (int y = 0; y < 120; y += 7) {
            for (int x = 0; x < 160; x += 3)
                ASSERT_EQ(frame.at(x, y), packedRgb(image->pixel(x, y)) | kOpaque) << i;
        }
    }
}

// A stop at the first, a middle and the last frame (after which only the file is put in
// place) leaves no file at all, temporary ones included.
TEST_F(FormatExport, AStopAtAnyFrameLeavesNoFileBehind) {
    for (const ExportTarget target : {ExportTarget::Webp, ExportTarget::Apng, ExportTarget::Png,
                                      ExportTarget::Bmp, ExportTarget::Gif}) {
        for (const std::uint64_t stopAfter :
             {std::uint64_t{1}, std::uint64_t{10}, std::uint64_t{20}}) {
            SCOPED_TRACE(std::string(targetExtension(target)) + " after " +
                         std::to_string(stopAfter));
            progress = {};
            progress.stopAfterFrames = stopAfter;
            ExportRequest r =
                request(isNumberedSet(target) ? "set" : "anim", ExportKind::Vtr, 120, 90);
            r.path = outputPathFor(target, r.path);
            ASSERT_EQ(test::planFor(target, r, snapshot).frameCount(), 20u);
            const ExportOutcome outcome = run(target, r);
            ASSERT_TRUE(outcome.error.has_value());
            EXPECT_EQ(outcome.error->code, ExportErrorCode::Cancelled);
            EXPECT_EQ(progress.done.size(), stopAfter);
            EXPECT_EQ(test::entriesIn(dir.path(".")), 0u);
        }
    }
}

TEST_F(FormatExport, AFailedSetLeavesExistingFilesOfTheSameNamesAloneAndSaysWhich) {
    for (const ExportTarget target : {ExportTarget::Png, ExportTarget::Bmp}) {
        const std::string ext = targetExtension(target);
        SCOPED_TRACE(ext);
        std::ofstream(dir.path("set0000" + ext)) << "old";
        std::filesystem::create_directory(dir.path("set0003" + ext));  // in the way of the 4th
        progress = {};
        const ExportOutcome outcome = run(target, request("set", ExportKind::Wobble, 80, 60));
        ASSERT_TRUE(outcome.error.has_value());
        EXPECT_EQ(outcome.error->code, ExportErrorCode::CannotWrite);
        EXPECT_EQ(outcome.error->path, dir.path("set0003" + ext).string());
        EXPECT_EQ(test::readBytes(dir.path("set0000" + ext)), "old");
        EXPECT_EQ(dir.entryCount(), 2u);  // the old file and the folder, nothing staged

        // Without the folder the set replaces the old file, whole.
        std::filesystem::remove(dir.path("set0003" + ext));
        progress = {};
        ASSERT_TRUE(run(target, request("set", ExportKind::Wobble, 80, 60)).ok());
        EXPECT_NE(test::readBytes(dir.path("set0000" + ext)), "old");
        EXPECT_EQ(dir.entryCount(), 5u);
        for (const auto& entry : std::filesystem::directory_iterator(dir.path("")))
            std::filesystem::remove_all(entry.path());
    }
}

TEST_F(FormatExport, SvgHoldsOnePathPerStrokeForEachPassWithTheModelsLook) {
    snapshot.vertices.push_back(snapshot.vertices[0]);  // a stroke of one point draws nothing
    snapshot.vertices.back().x = 10;
    snapshot.vertices[1].wobbleDx = 3;
    snapshot.properties.lineWidth = 6;  // the shadow lies half of it away
    ExportRequest r = request("still.svg", ExportKind::Still, 400, 300);
    // Colours, sizes and the background are held to the still PNG by the rendering below.
    const std::string svg = drawingAsSvg(snapshot, r);
    EXPECT_NE(svg.find("stroke-linejoin=\"round\" transform=\"translate(3 3)\""),
              std::string::npos);
    EXPECT_NE(svg.find("shape-rendering=\"crispEdges\""), std::string::npos);
    auto count = [&](const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(text); at != std::string::npos; at = svg.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<path d=\"M50 100 L753 100 L697 396\"/>"), 2u);  // shadow and line
    EXPECT_EQ(count("<path"), 2u);  // the stroke of one point is left out

    r.wobbleOffsets = false;
    r.transparent = true;
    r.antiAlias = true;
    snapshot.properties.shadowMode = 1;
    const std::string plain = drawingAsSvg(snapshot, r);
    EXPECT_NE(plain.find("<path d=\"M50 100 L750 100 L697 396\"/>"), std::string::npos);
    EXPECT_EQ(plain.find("<rect"), std::string::npos);
    EXPECT_EQ(plain.find("crispEdges"), std::string::npos);
    EXPECT_EQ(plain.find("translate"), std::string::npos);

    ASSERT_TRUE(run(ExportTarget::Svg, r).ok());
    EXPECT_EQ(test::readBytes(r.path), plain);
    expectProgressOncePerFrame(1);
}

TEST_F(FormatExport, SvgRendersWithinAFewPixelsOfTheStillBmp) {
    if (std::system("rsvg-convert --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "rsvg-convert is not installed";
    snapshot.vertices[1].wobbleDx = 5;  // the offsets of the screen, which neither shows
    ExportRequest svg = request("still.svg", ExportKind::Still, 800, 600);
    svg.wobbleOffsets = false;
    ASSERT_TRUE(run(ExportTarget::Svg, svg).ok());
    ExportRequest png = request("still", ExportKind::Still, 800, 600);
    ASSERT_TRUE(run(ExportTarget::Png, png).ok());
    const std::string command =
        "rsvg-convert '" + svg.path + "' -o '" + dir.path("rendered.png").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto rendered = test::decodePng(dir.path("rendered.png"));
    const auto drawn = test::decodePng(dir.path("still.png"));
    ASSERT_TRUE(rendered && drawn);
    ASSERT_EQ(rendered->pixels.size(), drawn->pixels.size());
    int differing = 0;
    for (std::size_t i = 0; i < drawn->pixels.size(); ++i)
        differing += rendered->pixels[i] != drawn->pixels[i];
    // Of 480 000 pixels and about 8 000 of line and shadow, only a few at the round ends.
    EXPECT_LT(differing, 60);
}

TEST_F(FormatExport, BmpStillIsOneUnwobbledFileThatRepeatsExactly) {
    // Offsets the screen had: the still image shows the stored positions all the same.
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = -3;
    ASSERT_TRUE(run(ExportTarget::Bmp, request("anim", ExportKind::Still, 400, 300)).ok());
    EXPECT_EQ(dir.entryCount(), 1u);
    const auto file = dir.path("anim.bmp");
    const std::string bytes = test::readBytes(file);
    // Neither the generator nor the offsets change anything without wobble.
    snapshot.seed = 99;
    for (Vertex& vertex : snapshot.vertices)
        vertex.wobbleDy = 0;
    ASSERT_TRUE(run(ExportTarget::Bmp, request("anim", ExportKind::Still, 400, 300)).ok());
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

TEST_F(FormatExport, BmpOfZeroFramesWritesNothing) {
    snapshot = test::shortLineModel(30);
    ExportRequest r = request("anim", ExportKind::Vtr, 200, 150);
    r.waitSeconds = 0;
    const ExportOutcome outcome = run(ExportTarget::Bmp, r);
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.framesWritten, 0u);
    EXPECT_EQ(dir.entryCount(), 0u);
    EXPECT_TRUE(progress.done.empty());
    EXPECT_EQ(progress.stages,
              (std::vector<ExportStage>{ExportStage::CreatingImages, ExportStage::Done}));
}

}  // namespace
}  // namespace rek
