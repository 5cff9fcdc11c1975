#include <gtest/gtest.h>

#include "export/export_dialog_rules.h"
#include "export/output_files.h"

namespace rek {
namespace {

TEST(OutputNames, TheAnimationDialogPicksTheFormatByTheExactExtension) {
    const auto expect = [](const char* entered, ExportTarget target, const char* path) {
        const OutputChoice choice = animationOutput(QString::fromUtf8(entered));
        EXPECT_EQ(choice.target, target) << entered;
        EXPECT_EQ(choice.path, QString::fromUtf8(path)) << entered;
    };
    expect("a.gif", ExportTarget::Gif, "a.gif");
    expect("a", ExportTarget::Gif, "a.gif");
    expect("a.GIF", ExportTarget::Gif, "a.GIF.gif");
    expect("a.webp", ExportTarget::Webp, "a.webp");
    expect("a.WEBP", ExportTarget::Gif, "a.WEBP.gif");
    expect("a.apng", ExportTarget::Apng, "a.apng");
    expect("a.png", ExportTarget::Apng, "a.png");
    expect("a.bmp", ExportTarget::Gif, "a.bmp.gif");
    expect("dir/", ExportTarget::Gif, "dir/");  // kept, to be refused as a folder
}

TEST(OutputNames, TheNumberedDialogPicksASetOrTheSvg) {
    EXPECT_EQ(numberedOutput("f.bmp").target, ExportTarget::Bmp);
    EXPECT_EQ(numberedOutput("f.bmp").path, "f");
    EXPECT_EQ(numberedOutput("f").path, "f");
    EXPECT_EQ(numberedOutput("f.png").target, ExportTarget::Png);
    EXPECT_EQ(numberedOutput("f.png").path, "f");
    EXPECT_EQ(numberedOutput("f.svg").target, ExportTarget::Svg);
    EXPECT_EQ(numberedOutput("f.svg").path, "f.svg");
    EXPECT_EQ(numberedOutput("f.webp").target, ExportTarget::Bmp);
}

TEST(OutputNames, TheChoosersTypeAddsItsExtensionOnlyToANameWithoutOne) {
    EXPECT_EQ(withChosenExtension("a", ExportTarget::Webp, animationOutput), "a.webp");
    EXPECT_EQ(withChosenExtension("a", ExportTarget::Apng, animationOutput), "a.png");
    EXPECT_EQ(withChosenExtension("a", ExportTarget::Gif, animationOutput), "a.gif");
    EXPECT_EQ(withChosenExtension("a.gif", ExportTarget::Webp, animationOutput), "a.gif");
    EXPECT_EQ(withChosenExtension("a.apng", ExportTarget::Webp, animationOutput), "a.apng");
    EXPECT_EQ(withChosenExtension("f", ExportTarget::Svg, numberedOutput), "f.svg");
    EXPECT_EQ(withChosenExtension("f.bmp", ExportTarget::Png, numberedOutput), "f.bmp");
}

TEST(OutputNames, TheCommandLineAddsOrRemovesTheFormatsExtensionOnBytes) {
    EXPECT_EQ(outputPathFor(ExportTarget::Webp, "a"), "a.webp");
    EXPECT_EQ(outputPathFor(ExportTarget::Webp, "a.webp"), "a.webp");
    EXPECT_EQ(outputPathFor(ExportTarget::Apng, "a.apng"), "a.apng");
    EXPECT_EQ(outputPathFor(ExportTarget::Apng, "a"), "a.png");
    EXPECT_EQ(outputPathFor(ExportTarget::Png, "f.png"), "f");
    EXPECT_EQ(outputPathFor(ExportTarget::Bmp, "f"), "f");
    EXPECT_EQ(outputPathFor(ExportTarget::Svg, "d/\\xff"), "d/\\xff.svg");
    EXPECT_EQ(outputPathFor(ExportTarget::Gif, "d/"), "d/");
    EXPECT_EQ(numberedFileName("f", ExportKind::Vtr, 10000, ".png"), "f10000.png");
    EXPECT_EQ(numberedFileName("f", ExportKind::Still, 0, ".png"), "f.png");
}

}  // namespace
}  // namespace rek
