// The animated GIF writer, read back by giflib, ImageMagick and gifsicle.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "export/image_library.h"
#include "export_test_support.h"
#include "gif_test_support.h"

namespace rek {
namespace {

constexpr std::uint32_t kPaper = 0xEE9C00;
constexpr std::uint32_t kInk = 0x000000;
constexpr std::uint32_t kShade = 0x8A4800;

// Paper with a few strokes of ink and shade, moved by `shift`.
std::vector<std::uint32_t> drawing(int width, int height, int shift) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, kPaper);
    for (int y = 2; y < height - 2; ++y) {
        for (int stroke = 0; stroke < 3; ++stroke) {
            const int x = std::clamp(width / 4 * (stroke + 1) + shift + (y / 7) % 3, 0, width - 3);
            pixels[static_cast<std::size_t>(y) * width + x] = kInk;
            pixels[static_cast<std::size_t>(y) * width + x + 1] = kInk;
            pixels[static_cast<std::size_t>(y) * width + x + 2] = kShade;
        }
    }
    return pixels;
}

std::vector<std::uint32_t> opaqueFrame(const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint32_t> out(pixels.size());
    std::transform(pixels.begin(), pixels.end(), out.begin(),
                   [](std::uint32_t p) { return test::opaque(p); });
    return out;
}

class GifAnimationWriterTest : public ::testing::Test {
  protected:
    std::filesystem::path write(const std::string& name,
                                const std::vector<std::vector<std::uint32_t>>& frames,
                                GifColours colours, int width, int height) {
        const auto file = dir.path(name);
        GifAnimationWriter writer;
        EXPECT_TRUE(writer.begin(file.string(), width, height, colours));
        for (const auto& frame : frames)
            EXPECT_TRUE(writer.addFrame(frame, 10));
        EXPECT_TRUE(writer.finish());
        return file;
    }

    test::TempDir dir;
};

TEST_F(GifAnimationWriterTest, DecodesToTheFramesGivenWritingOnlyWhatChangedAndNewColoursExactly) {
    const int w = 120;
    const int h = 80;
    std::vector<std::vector<std::uint32_t>> frames;
    for (int shift : {0, 0, 3, -2, -2, 5})
        frames.push_back(drawing(w, h, shift));
    // A change in one corner only; then a colour the palette lacks.
    frames.push_back(frames.back());
    frames.back()[static_cast<std::size_t>(h - 1) * w + (w - 1)] = kInk;
    frames.push_back(drawing(w, h, 1));
    std::replace(frames.back().begin(), frames.back().end(), kShade, 0x00FF00u);

    GifColours colours;
    colours.sample = frames[0];
    const auto file = write("drawing.gif", frames, colours, w, h);
    const auto gif = test::composeGif(file);
    ASSERT_TRUE(gif.has_value());
    ASSERT_EQ(gif->frames.size(), frames.size());
    for (std::size_t f = 0; f < frames.size(); ++f)
        EXPECT_TRUE(gif->frames[f] == opaqueFrame(frames[f])) << f;

    EXPECT_EQ(gif->images[0].width, w);
    EXPECT_EQ(gif->images[0].height, h);
    // The same frame again: one pixel. The corner: one pixel there.
    EXPECT_EQ(gif->images[1].width * gif->images[1].height, 1);
    EXPECT_EQ(gif->images[6].left, w - 1);
    EXPECT_EQ(gif->images[6].top, h - 1);
    EXPECT_EQ(gif->images[6].width * gif->images[6].height, 1);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        EXPECT_EQ(gif->images[f].disposal, 1);
        // Only the frame using the new colour carries a table of its own.
        EXPECT_EQ(gif->images[f].localTable, f == 7) << f;
        EXPECT_EQ(gif->images[f].delay, 10);
    }

    test::expectReadersAgree(file, *gif);
}

TEST_F(GifAnimationWriterTest, LeavesUnchangedPixelsTransparentWhereThatCodesShorter) {
    // A stroke grows across a busy picture: few pixels change in a large rectangle.
    const int w = 160;
    const int h = 120;
    std::vector<std::uint32_t> picture = drawing(w, h, 0);
    for (std::size_t i = 0; i < picture.size(); i += 7)
        picture[i] = kShade;
    std::vector<std::vector<std::uint32_t>> frames = {picture};
    for (int step = 1; step < 4; ++step) {
        picture[5 * w + 5 + step] = kInk;
        picture[static_cast<std::size_t>(h - 5) * w + w - 5 - step] = kInk;
        frames.push_back(picture);
    }
    GifColours colours;
    colours.sample = frames[0];
    const auto file = write("growing.gif", frames, colours, w, h);
    const auto gif = test::composeGif(file);
    ASSERT_TRUE(gif.has_value());
    for (std::size_t f = 0; f < frames.size(); ++f)
        EXPECT_TRUE(gif->frames[f] == opaqueFrame(frames[f])) << f;
    EXPECT_EQ(gif->images[0].transparentIndex, -1);
    for (std::size_t f = 1; f < frames.size(); ++f) {
        EXPECT_GE(gif->images[f].transparentIndex, 0) << f;
        EXPECT_GT(gif->images[f].width * gif->images[f].height, w * h / 2) << f;
    }
}

TEST_F(GifAnimationWriterTest, WhatCannotBeWrittenLeavesNothingBehind) {
    const std::vector<std::uint32_t> frame = drawing(20, 10, 0);
    GifColours colours;
    colours.sample = frame;
    std::ofstream(dir.path("kept.gif")) << "old";
    for (int spoilt = 0; spoilt < 4; ++spoilt) {
        GifAnimationWriter writer;
        EXPECT_FALSE(writer.addFrame(frame, 5));  // not begun
        EXPECT_FALSE(writer.begin(dir.path("a.gif").string(), 21, 10, colours));
        EXPECT_FALSE(writer.begin(dir.path("no/such/folder/a.gif").string(), 20, 10, colours));
        ASSERT_TRUE(
            writer.begin(dir.path(spoilt == 3 ? "kept.gif" : "b.gif").string(), 20, 10, colours));
        if (spoilt == 0) {
            EXPECT_FALSE(writer.finish());  // no frame
            continue;
        }
        EXPECT_TRUE(writer.addFrame(frame, 5));
        if (spoilt == 1) {  // a frame of the wrong size spoils the file
            EXPECT_FALSE(writer.addFrame(std::span(frame).first(199), 5));
            EXPECT_FALSE(writer.addFrame(frame, 5));
            EXPECT_FALSE(writer.finish());
        }
    }  // 2 and 3: dropped unfinished
    EXPECT_EQ(test::readBytes(dir.path("kept.gif")), "old");
    EXPECT_EQ(dir.entryCount(), 1u);
}

}  // namespace
}  // namespace rek
