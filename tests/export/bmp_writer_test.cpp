#include <gtest/gtest.h>

#include <fstream>

#include "export/image_library.h"
#include "export_test_support.h"
#include "file_helpers.h"

namespace rek {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

ColorRgb stripes(int x, int y) {
    if (y == 0) {
        return {255, 0, 0};  // top row red: shows the row order
    }
    return x % 2 ? ColorRgb{0, 0, 255} : ColorRgb{30, 200, 60};
}

class SaveBmp : public ::testing::Test {
  protected:
    test::TempDir dir;
};

TEST_F(SaveBmp, WritesAnEightBitPalettisedFileThatReadersDecodeExactly) {
    // Width 5: each row is padded from 5 to 8 bytes.
    auto image = test::makeImage(5, 3, stripes);
    ASSERT_TRUE(reduceColors(*image));
    const auto file = dir.path("frame.bmp");
    ASSERT_TRUE(saveBmp(*image, file.string()));

    const std::vector<std::uint8_t> bytes = test::readFileBytes(file);
    ASSERT_EQ(bytes.size(), 14u + 40 + 3 * 4 + 8 * 3);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(le32(bytes, 2), bytes.size());
    EXPECT_EQ(le32(bytes, 10), 14u + 40 + 3 * 4);  // pixels after the palette
    EXPECT_EQ(le32(bytes, 22), 3u);                // positive height: bottom-up
    EXPECT_EQ(bytes[28], 8);                       // bits per pixel
    EXPECT_EQ(le32(bytes, 46), 3u);                // colours used

    const auto rgb = test::decodeRgb(file);
    if (!rgb)
        GTEST_SKIP() << "ImageMagick is not installed";
    ASSERT_EQ(rgb->size(), 5u * 3 * 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t* p = rgb->data() + (y * 5 + x) * 3;
            EXPECT_EQ((ColorRgb{p[0], p[1], p[2]}), stripes(x, y)) << x << "," << y;
        }
    }
}

TEST_F(SaveBmp, FailuresLeaveNoFilesAndAnyNameTheFolderTakesIsWritten) {
    auto image = test::makeImage(4, 4, stripes);
    EXPECT_FALSE(saveBmp(*image, dir.path("missing/frame.bmp").string()));
    EXPECT_FALSE(saveBmp(*image, ""));
    // A directory in the way: the temporary must not be left behind either.
    std::filesystem::create_directory(dir.path("taken.bmp"));
    EXPECT_FALSE(saveBmp(*image, dir.path("taken.bmp").string()));
    EXPECT_EQ(dir.entryCount(), 1u);

    // Overwriting replaces the old file as a whole.
    const auto file = dir.path("frame.bmp");
    std::ofstream(file) << std::string(5000, 'x');
    ASSERT_TRUE(saveBmp(*image, file.string()));
    EXPECT_EQ(std::filesystem::file_size(file), 14u + 40 + 3 * 4 + 4 * 4);
    EXPECT_EQ(dir.entryCount(), 2u);

    // The temporary name fits the folder's limit whatever the final name's length.
    const std::string longest = std::string(251, 'n') + ".bmp";  // 255 bytes
    ASSERT_TRUE(saveBmp(*image, dir.path(longest).string()));
    EXPECT_FALSE(saveBmp(*image, dir.path("x" + longest).string()));
    EXPECT_EQ(dir.entryCount(), 3u);
}

}  // namespace
}  // namespace rek
