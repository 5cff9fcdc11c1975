#include <gtest/gtest.h>

#include "export/export_dialog_rules.h"
#include "export/output_files.h"

namespace rek {
namespace {

TEST(OutputNames, TheDialogsPickTheFormatByTheExactExtension) {
    struct Case {
        OutputChoice (*rule)(const QString&);
        const char* entered;
        ExportTarget target;
        const char* path;
    };
    for (const Case& c : {Case{animationOutput, "a", ExportTarget::Gif, "a.gif"},
                          Case{animationOutput, "a.GIF", ExportTarget::Gif, "a.GIF.gif"},
                          Case{animationOutput, "a.webp", ExportTarget::Webp, "a.webp"},
                          Case{animationOutput, "a.WEBP", ExportTarget::Gif, "a.WEBP.gif"},
                          Case{animationOutput, "a.png", ExportTarget::Apng, "a.png"},
                          Case{animationOutput, "a.bmp", ExportTarget::Gif, "a.bmp.gif"},
                          // Kept, to be refused as a folder.
                          Case{animationOutput, "dir/", ExportTarget::Gif, "dir/"},
                          Case{numberedOutput, "f.bmp", ExportTarget::Bmp, "f"},
                          Case{numberedOutput, "f.png", ExportTarget::Png, "f"},
                          Case{numberedOutput, "f.svg", ExportTarget::Svg, "f.svg"},
                          Case{numberedOutput, "f.webp", ExportTarget::Bmp, "f.webp"}}) {
        const OutputChoice choice = c.rule(QString::fromUtf8(c.entered));
        EXPECT_EQ(choice.target, c.target) << c.entered;
        EXPECT_EQ(choice.path, QString::fromUtf8(c.path)) << c.entered;
    }
}

TEST(OutputNames, TheChooserAndTheCommandLineAddTheFormatsExtensionOnlyWhereItIsMissing) {
    EXPECT_EQ(withChosenExtension("a", ExportTarget::Apng, animationOutput), "a.png");
    EXPECT_EQ(withChosenExtension("a.apng", ExportTarget::Webp, animationOutput), "a.apng");
    EXPECT_EQ(withChosenExtension("f", ExportTarget::Svg, numberedOutput), "f.svg");
    EXPECT_EQ(withChosenExtension("f.bmp", ExportTarget::Png, numberedOutput), "f.bmp");
    EXPECT_EQ(outputPathFor(ExportTarget::Webp, "a.webp"), "a.webp");
    EXPECT_EQ(outputPathFor(ExportTarget::Apng, "a"), "a.png");
    EXPECT_EQ(outputPathFor(ExportTarget::Png, "f.png"), "f");
    EXPECT_EQ(outputPathFor(ExportTarget::Svg, "d/\xff"), "d/\xff.svg");
    EXPECT_EQ(outputPathFor(ExportTarget::Gif, "d/"), "d/");
    EXPECT_EQ(numberedFileName("f", ExportKind::Vtr, 10000, ".png"), "f10000.png");
    EXPECT_EQ(numberedFileName("f", ExportKind::Still, 0, ".png"), "f.png");
}

}  // namespace
}  // namespace rek
