#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <vector>

#include "dialog_test_support.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/color_palette.h"
#include "shell/dialogs/color_swatch.h"

namespace rek {
namespace {

using test::child;

class ColorDialogTest : public ::testing::Test {
  protected:
    // Every colour the dialog reports, in order.
    void listen(ColorDialog& dialog) {
        QObject::connect(&dialog, &ColorDialog::workingColorChanged, &dialog,
                         [this](ColorRgb color) { reported.push_back(color); });
    }

    static constexpr ColorRgb kOpening{10, 20, 30};
    std::vector<ColorRgb> reported;
};

TEST_F(ColorDialogTest, SamplesAreInRowsOfOneBlueLevelAndChooseAtOnce) {
    ColorDialog dialog(kOpening);
    listen(dialog);
    dialog.show();
    const auto sample = [&dialog](int index) {
        return child<ColorSwatch>(&dialog, qPrintable(QStringLiteral("sample%1").arg(index)));
    };
    for (int index = 0; index < kPaletteSize; ++index) {
        EXPECT_EQ(sample(index)->y(), sample(index / 9 * 9)->y()) << index;
        EXPECT_EQ(sample(index)->x(), sample(index % 9)->x()) << index;
    }
    EXPECT_GT(sample(9)->y(), sample(0)->y());
    EXPECT_GT(sample(1)->x(), sample(0)->x());

    QTest::mouseClick(sample(2), Qt::LeftButton);
    EXPECT_EQ(dialog.workingColor(), (ColorRgb{255, 0, 0}));
    EXPECT_EQ(reported, (std::vector<ColorRgb>{{255, 0, 0}})) << "reported at once";
    EXPECT_EQ(child<QSlider>(&dialog, "redSlider")->value(), 255);
    EXPECT_EQ(child<QLineEdit>(&dialog, "redEdit")->text(), QStringLiteral("255"));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "preview")->color(), (ColorRgb{255, 0, 0}));
}

TEST_F(ColorDialogTest, EditsActOnlyWhileFocusedAndWithinRange) {
    ColorDialog dialog(kOpening);
    listen(dialog);
    ASSERT_TRUE(test::showActive(dialog));
    auto* redEdit = child<QLineEdit>(&dialog, "redEdit");
    auto* redSlider = child<QSlider>(&dialog, "redSlider");

    // Not focused: a number written into the field is no choice.
    child<QLineEdit>(&dialog, "greenEdit")->setText(QStringLiteral("99"));
    EXPECT_EQ(dialog.workingColor(), kOpening);
    EXPECT_TRUE(reported.empty());

    redEdit->setFocus();
    ASSERT_TRUE(redEdit->hasFocus());
    redEdit->setText(QStringLiteral("300"));  // pasted at once: above the range
    EXPECT_EQ(dialog.workingColor(), kOpening);
    EXPECT_EQ(redSlider->value(), 10);
    redEdit->selectAll();
    QTest::keyClicks(redEdit, QStringLiteral("300"));
    EXPECT_EQ(dialog.workingColor().red, 30) << "the prefix 30 is a valid number";
    EXPECT_EQ(redSlider->value(), 30);
    EXPECT_EQ(redEdit->text(), QStringLiteral("300")) << "the field keeps what was typed";

    redEdit->selectAll();
    QTest::keyClicks(redEdit, QStringLiteral("-1"));
    redEdit->selectAll();
    QTest::keyClicks(redEdit, QStringLiteral("x"));
    EXPECT_EQ(dialog.workingColor().red, 30);

    redEdit->selectAll();
    QTest::keyClicks(redEdit, QStringLiteral("200"));
    EXPECT_EQ(dialog.workingColor(), (ColorRgb{200, 20, 30}));
    EXPECT_EQ(redSlider->value(), 200);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), (ColorRgb{200, 20, 30}));

    QTest::keyClick(child<QSlider>(&dialog, "greenSlider"), Qt::Key_End);
    EXPECT_EQ(reported.back(), (ColorRgb{200, 255, 30}));
    EXPECT_EQ(child<QLineEdit>(&dialog, "greenEdit")->text(), QStringLiteral("255"));
}

TEST_F(ColorDialogTest, CancelRestoresTheOpeningColor) {
    ColorDialog dialog(kOpening);
    listen(dialog);
    dialog.show();
    QTest::mouseClick(child<QWidget>(&dialog, "sample4"), Qt::LeftButton);
    QTest::mouseClick(child<QWidget>(&dialog, "sample17"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&dialog, "cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.workingColor(), kOpening);
    EXPECT_EQ(child<ColorSwatch>(&dialog, "preview")->color(), kOpening);
    // Those who followed the samples are told to go back.
    EXPECT_EQ(reported, (std::vector<ColorRgb>{paletteColor(4), paletteColor(17), kOpening}));
}

}  // namespace
}  // namespace rek
