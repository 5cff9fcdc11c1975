#include <gif_lib.h>
#include <gtest/gtest.h>
#include <libimagequant.h>

#include <cstring>
#include <fstream>

#include "export/image_library.h"
#include "export_test_support.h"
#include "image_test_support.h"

namespace rek {
namespace {

using test::DecodedGif;
using test::decodeGif;
using test::gifControl;
using test::gifLoopsForever;
using test::gifPixel;

const ColorRgb kBackground{238, 156, 0};
const ColorRgb kLine{0, 0, 0};

// A wobbling line over the background: the line moves one pixel per frame.
std::unique_ptr<Image> frameImage(int frame, ColorRgb background = kBackground) {
    auto image = test::makeImage(12, 7, [&](int x, int y) {
        return (y == 2 + frame % 3 && x > 1) ? kLine
                                             : (y == 6 ? ColorRgb{120, 120, 120} : background);
    });
    reduceColors(*image);
    return image;
}

class WriteAnimatedGif : public ::testing::Test {
  protected:
    test::TempDir dir;
};

TEST_F(WriteAnimatedGif, DecodesAsALoopingAnimationWithEachFramesDelay) {
    std::vector<std::unique_ptr<Image>> images;
    std::vector<GifFrame> frames;
    for (int i = 0; i < 5; ++i) {
        images.push_back(frameImage(i));
        frames.push_back({images.back().get(), static_cast<std::uint16_t>(6 + i)});
    }
    const auto file = dir.path("anim.gif");
    ASSERT_TRUE(writeAnimatedGif(file.string(), frames));

    const DecodedGif gif = decodeGif(file);
    ASSERT_NE(gif, nullptr);
    // giflib's decoder cannot tell 87a from 89a, so read the signature itself.
    std::ifstream raw(file, std::ios::binary);
    std::string signature(6, '\0');
    raw.read(signature.data(), 6);
    EXPECT_EQ(signature, "GIF89a");
    EXPECT_EQ(gif->SWidth, 12);
    EXPECT_EQ(gif->SHeight, 7);
    ASSERT_EQ(gif->ImageCount, 5);
    EXPECT_TRUE(gifLoopsForever(gif.get()));
    ASSERT_NE(gif->SColorMap, nullptr);
    EXPECT_EQ(gif->SColorMap->ColorCount, 4);  // 3 colours: the next power of two
    for (int i = 0; i < 5; ++i) {
        const GraphicsControlBlock gcb = gifControl(gif.get(), i);
        EXPECT_EQ(gcb.DelayTime, 6 + i);
        EXPECT_EQ(gcb.DisposalMode, DISPOSE_BACKGROUND);
        EXPECT_EQ(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 12; ++x) {
                ASSERT_EQ(gifPixel(gif.get(), i, x, y), images[i]->pixel(x, y)) << i;
            }
        }
    }

    if (!test::imageMagickAvailable()) {
        GTEST_SKIP() << "ImageMagick is not installed";
    }
    EXPECT_EQ(test::identify("%m %w %h %T %D;", file),
              "GIF 12 7 6 Background;GIF 12 7 7 Background;GIF 12 7 8 Background;"
              "GIF 12 7 9 Background;GIF 12 7 10 Background;");
}

TEST_F(WriteAnimatedGif, MarksTheTransparentColourOnlyWhereThePaletteHasIt) {
    const auto plain = frameImage(0);
    const auto otherBackground = frameImage(1, ColorRgb{255, 255, 255});
    const std::vector<GifFrame> frames = {
        {plain.get(), 6, GifDisposal::RestoreBackground, kBackground},
        {otherBackground.get(), 6, GifDisposal::RestoreBackground, kBackground},
        {plain.get(), 6},
    };
    const auto file = dir.path("transparent.gif");
    ASSERT_TRUE(writeAnimatedGif(file.string(), frames));
    const DecodedGif gif = decodeGif(file);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(gif->ImageCount, 3);
    const int index = gifControl(gif.get(), 0).TransparentColor;
    ASSERT_NE(index, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(gifPixel(gif.get(), 0, 0, 0), kBackground);
    EXPECT_EQ(gif->SavedImages[0].RasterBits[0], index);
    EXPECT_EQ(gifControl(gif.get(), 1).TransparentColor, NO_TRANSPARENT_COLOR);
    EXPECT_EQ(gifControl(gif.get(), 2).TransparentColor, NO_TRANSPARENT_COLOR);
    // Only the frame whose palette differs carries its own table.
    EXPECT_EQ(gif->SavedImages[0].ImageDesc.ColorMap, nullptr);
    EXPECT_NE(gif->SavedImages[1].ImageDesc.ColorMap, nullptr);
    EXPECT_EQ(gif->SavedImages[2].ImageDesc.ColorMap, nullptr);
}

TEST_F(WriteAnimatedGif, ColourTableIsTheSmallestPowerOfTwoAndManyColoursAreReduced) {
    const auto single = test::makeImage(3, 3, [](int, int) { return kBackground; });
    auto gradient = test::makeImage(40, 40, [](int x, int y) {
        return ColorRgb{std::uint8_t(x * 6), std::uint8_t(y * 6), 128};
    });
    const std::vector<GifFrame> frames = {{single.get(), 10}, {gradient.get(), 10}};
    const auto file = dir.path("tables.gif");
    ASSERT_TRUE(writeAnimatedGif(file.string(), frames));
    EXPECT_FALSE(gradient->isReduced());  // reduced on a copy
    const DecodedGif gif = decodeGif(file);
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->SColorMap->ColorCount, 2);
    ASSERT_NE(gif->SavedImages[1].ImageDesc.ColorMap, nullptr);
    EXPECT_EQ(gif->SavedImages[1].ImageDesc.ColorMap->ColorCount, 256);
    EXPECT_EQ(gif->SWidth, 40);  // the screen holds the largest frame
    const ColorRgb c = gifPixel(gif.get(), 1, 20, 30);
    EXPECT_NEAR(c.red, 120, 16);
    EXPECT_NEAR(c.green, 180, 16);
    EXPECT_NEAR(c.blue, 128, 16);
}

TEST_F(WriteAnimatedGif, NothingIsWrittenForZeroFramesMissingImagesOrFolders) {
    const auto image = frameImage(0);
    const GifFrame frame{image.get(), 6};
    EXPECT_FALSE(writeAnimatedGif(dir.path("empty.gif").string(), {}));
    const GifFrame withoutImage{nullptr, 6};
    const std::vector<GifFrame> broken = {frame, withoutImage};
    EXPECT_FALSE(writeAnimatedGif(dir.path("broken.gif").string(), broken));
    EXPECT_FALSE(writeAnimatedGif(dir.path("missing/anim.gif").string(), std::span(&frame, 1)));
    EXPECT_EQ(dir.entryCount(), 0u);
}

TEST_F(WriteAnimatedGif, WritesEachFramesDisposalMethod) {
    const auto image = frameImage(0);
    const std::vector<GifFrame> frames = {
        {image.get(), 6, GifDisposal::Keep},
        {image.get(), 6},
        {image.get(), 6, GifDisposal::RestorePrevious},
        {image.get(), 6, GifDisposal::Unspecified},
    };
    const auto file = dir.path("disposal.gif");
    ASSERT_TRUE(writeAnimatedGif(file.string(), frames));
    const DecodedGif gif = decodeGif(file);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(gif->ImageCount, 4);
    EXPECT_EQ(gifControl(gif.get(), 0).DisposalMode, DISPOSE_DO_NOT);
    EXPECT_EQ(gifControl(gif.get(), 1).DisposalMode, DISPOSE_BACKGROUND);
    EXPECT_EQ(gifControl(gif.get(), 2).DisposalMode, DISPOSE_PREVIOUS);
    EXPECT_EQ(gifControl(gif.get(), 3).DisposalMode, DISPOSAL_UNSPECIFIED);
}

TEST_F(WriteAnimatedGif, AStopRequestLeavesNeitherTheFileNorItsTemporary) {
    std::vector<std::unique_ptr<Image>> images;
    std::vector<GifFrame> frames;
    for (int i = 0; i < 3; ++i) {
        images.push_back(frameImage(i));
        frames.push_back({images.back().get(), 6});
    }
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(writeAnimatedGif(dir.path("stopped.gif").string(), frames, stop.get_token()));
    EXPECT_EQ(dir.entryCount(), 0u);

    // An older file of that name stays as it was.
    const auto file = dir.path("kept.gif");
    std::ofstream(file) << "old";
    EXPECT_FALSE(writeAnimatedGif(file.string(), frames, stop.get_token()));
    EXPECT_EQ(std::filesystem::file_size(file), 3u);
    EXPECT_EQ(dir.entryCount(), 1u);
    EXPECT_TRUE(writeAnimatedGif(file.string(), frames, std::stop_source().get_token()));
    EXPECT_TRUE(decodeGif(file));
}

TEST(ImageLibraryVersion, NamesTheLibrariesThatWriteTheImages) {
    const std::string line = imageLibraryVersionLine();
    const int liq = liq_version();
    EXPECT_EQ(line.rfind("giflib Ver." + std::to_string(GIFLIB_MAJOR) + "." +
                             std::to_string(GIFLIB_MINOR) + "." + std::to_string(GIFLIB_RELEASE) +
                             " & libimagequant Ver." + std::to_string(liq / 10000) + "." +
                             std::to_string(liq / 100 % 100) + "." + std::to_string(liq % 100),
                         0),
              0u);
}

}  // namespace
}  // namespace rek
