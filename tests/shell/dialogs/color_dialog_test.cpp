#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <vector>

#include "dialog_test_support.h"
#include "shell/dialogs/color_dialog.h"
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

}  // namespace
}  // namespace rek
