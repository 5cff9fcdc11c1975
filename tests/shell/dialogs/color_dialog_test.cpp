#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <set>
#include <vector>

#include "dialog_test_support.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/color_palette.h"
#include "shell/dialogs/color_swatch.h"

namespace rek {
namespace {

using test::child;

TEST(ColorPaletteTest, IsTheCubeOfThreeLevelsWithRedFastest) {
    EXPECT_EQ(paletteColor(0), (ColorRgb{0, 0, 0}));
    EXPECT_EQ(paletteColor(1), (ColorRgb{127, 0, 0}));
    EXPECT_EQ(paletteColor(5), (ColorRgb{255, 127, 0}));
    EXPECT_EQ(paletteColor(1 + 3 * 2 + 9 * 1), (ColorRgb{127, 255, 127}));
    EXPECT_EQ(paletteColor(26), (ColorRgb{255, 255, 255}));
    std::set<std::tuple<int, int, int>> distinct;
    for (int i = 0; i < kPaletteSize; ++i) {
        const ColorRgb c = paletteColor(i);
        distinct.insert({c.red, c.green, c.blue});
    }
    EXPECT_EQ(distinct.size(), 27u);
}

TEST(ColorTargetTest, NamesEachColourOfTheProperties) {
    ModelProperties properties;
    colorOf(properties, ColorTarget::Line) = {1, 1, 1};
    colorOf(properties, ColorTarget::Shadow) = {2, 2, 2};
    colorOf(properties, ColorTarget::Background) = {3, 3, 3};
    EXPECT_EQ(properties.lineColor, (ColorRgb{1, 1, 1}));
    EXPECT_EQ(properties.shadowColor, (ColorRgb{2, 2, 2}));
    EXPECT_EQ(properties.backgroundColor, (ColorRgb{3, 3, 3}));
}

class ColorDialogTest : public ::testing::Test {
  protected:
    // Every colour the dialog reports, in order.
    void listen(ColorDialog& dialog) {
        QObject::connect(&dialog, &ColorDialog::workingColorChanged, &dialog,
                         [this](ColorRgb color) { reported.push_back(color); });
    }

    // The sample shown at a row and column of the samples group, found by position.
    static ColorSwatch* sampleAt(ColorDialog& dialog, int row, int column) {
        QList<ColorSwatch*> samples;
        for (auto* swatch : dialog.findChildren<ColorSwatch*>()) {
            if (qobject_cast<QGroupBox*>(swatch->parentWidget()) != nullptr)
                samples << swatch;
        }
        std::set<int> xs;
        std::set<int> ys;
        for (auto* s : samples) {
            xs.insert(s->x());
            ys.insert(s->y());
        }
        if (xs.size() != 9 || ys.size() != 3 || samples.size() != 27)
            return nullptr;
        const int x = *std::next(xs.begin(), column);
        const int y = *std::next(ys.begin(), row);
        for (auto* s : samples) {
            if (s->x() == x && s->y() == y)
                return s;
        }
        return nullptr;
    }

    static constexpr ColorRgb kOpening{10, 20, 30};
    std::vector<ColorRgb> reported;
};

TEST_F(ColorDialogTest, OpensOnTheGivenColor) {
    ColorDialog dialog(kOpening);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("色選択"));
    EXPECT_EQ(child<QSlider>(&dialog, "redSlider")->value(), 10);
    EXPECT_EQ(child<QSlider>(&dialog, "greenSlider")->maximum(), 255);
    EXPECT_EQ(child<QLineEdit>(&dialog, "blueEdit")->text(), QStringLiteral("30"));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "preview")->color(), kOpening);
    EXPECT_EQ(dialog.workingColor(), kOpening);
}

TEST_F(ColorDialogTest, SamplesAreInRowsOfOneBlueLevel) {
    ColorDialog dialog(kOpening);
    listen(dialog);
    dialog.show();
    ColorSwatch* firstRowThird = sampleAt(dialog, 0, 2);
    ColorSwatch* thirdRowLast = sampleAt(dialog, 2, 8);
    ASSERT_NE(firstRowThird, nullptr);
    ASSERT_NE(thirdRowLast, nullptr);

    QTest::mouseClick(firstRowThird, Qt::LeftButton);
    EXPECT_EQ(dialog.workingColor(), (ColorRgb{255, 0, 0}));
    EXPECT_EQ(reported, (std::vector<ColorRgb>{{255, 0, 0}})) << "reported at once";
    EXPECT_EQ(child<QSlider>(&dialog, "redSlider")->value(), 255);
    EXPECT_EQ(child<QLineEdit>(&dialog, "redEdit")->text(), QStringLiteral("255"));

    QTest::mouseClick(thirdRowLast, Qt::LeftButton);
    EXPECT_EQ(dialog.workingColor(), (ColorRgb{255, 255, 255}));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "preview")->color(), (ColorRgb{255, 255, 255}));
    EXPECT_EQ(child<QSlider>(&dialog, "blueSlider")->value(), 255);
    EXPECT_EQ(reported.size(), 2u);
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
}

TEST_F(ColorDialogTest, TypedValueAboveRangeLeavesTheComponent) {
    ColorDialog dialog(kOpening);
    ASSERT_TRUE(test::showActive(dialog));
    auto* redEdit = child<QLineEdit>(&dialog, "redEdit");
    redEdit->setFocus();
    redEdit->setText(QStringLiteral("300"));  // pasted at once
    EXPECT_EQ(dialog.workingColor(), kOpening);
    EXPECT_EQ(child<QSlider>(&dialog, "redSlider")->value(), 10);
}

TEST_F(ColorDialogTest, SlidersWriteTheirNumbers) {
    ColorDialog dialog(kOpening);
    listen(dialog);
    ASSERT_TRUE(test::showActive(dialog));
    auto* greenSlider = child<QSlider>(&dialog, "greenSlider");
    greenSlider->setFocus();
    QTest::keyClick(greenSlider, Qt::Key_End);
    EXPECT_EQ(dialog.workingColor(), (ColorRgb{10, 255, 30}));
    EXPECT_EQ(child<QLineEdit>(&dialog, "greenEdit")->text(), QStringLiteral("255"));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "preview")->color(), (ColorRgb{10, 255, 30}));
    EXPECT_EQ(reported, (std::vector<ColorRgb>{{10, 255, 30}}));
}

TEST_F(ColorDialogTest, CancelRestoresTheOpeningColorOkKeepsTheChoice) {
    {
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
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    reported.clear();
    {
        ColorDialog dialog(kOpening);
        listen(dialog);
        dialog.show();
        QTest::mouseClick(child<QWidget>(&dialog, "sample4"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&dialog, "ok"), Qt::LeftButton);
        EXPECT_EQ(dialog.workingColor(), paletteColor(4));
        EXPECT_EQ(reported, (std::vector<ColorRgb>{paletteColor(4)}));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

}  // namespace
}  // namespace rek
