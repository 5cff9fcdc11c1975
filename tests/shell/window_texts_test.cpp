#include "shell/window_texts.h"

#include <gtest/gtest.h>

namespace rek {
namespace {

TEST(WindowTexts, TitleShowsNameAndChangeMark) {
    Model model;
    EXPECT_EQ(windowTitle(model), "レクツール Ver.1.41 - [ 無題 ]");
    model.modified = true;
    EXPECT_EQ(windowTitle(model), "レクツール Ver.1.41 - [ 無題 * ]");
    model.displayName = "face.rkm";
    EXPECT_EQ(windowTitle(model), "レクツール Ver.1.41 - [ face.rkm * ]");
    model.modified = false;
    EXPECT_EQ(windowTitle(model), "レクツール Ver.1.41 - [ face.rkm ]");
}

TEST(WindowTexts, SizeUsesTheFullWidthTimesSign) {
    ModelProperties properties;
    properties.width = 320;
    properties.height = 240;
    EXPECT_EQ(sizeStatusText(properties), "320 × 240");
}

}  // namespace
}  // namespace rek
