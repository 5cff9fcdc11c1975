#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "dialog_test_support.h"
#include "model/app_info.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/color_swatch.h"
#include "shell/dialogs/properties_dialog.h"

namespace rek {
namespace {

using test::child;

constexpr ColorRgb kRed{255, 0, 0};

class PropertiesDialogTest : public ::testing::Test {
  protected:
    PropertiesDialogTest() {
        ModelProperties& p = state.model.properties;
        p.width = 320;
        p.height = 240;
        p.wobbleAmount = 5;
        p.vtrSpeed = 70;
        p.lineWidth = 10;
        p.lineColor = {10, 20, 30};
        p.shadowColor = {40, 50, 60};
        p.backgroundColor = {200, 210, 220};
        state.history.recordSnapshot(state.model);
        opened = p;
    }

    QSlider* slider(PropertiesDialog& d, const char* name) { return child<QSlider>(&d, name); }
    QPushButton* button(PropertiesDialog& d, const char* name) {
        return child<QPushButton>(&d, name);
    }

    EditorState state;
    ModelProperties opened;
};

TEST_F(PropertiesDialogTest, OpeningShowsTheModelAndChangesNothing) {
    state.model.properties.shadowMode = 1;
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("レクモデルのプロパティ"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "widthEdit")->text(), QStringLiteral("320"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "heightEdit")->text(), QStringLiteral("240"));
    EXPECT_EQ(slider(dialog, "lineWidthSlider")->value(), 3);  // (10 - 4) / 2
    EXPECT_EQ(slider(dialog, "wobbleSlider")->value(), 5);
    EXPECT_EQ(slider(dialog, "vtrSpeedSlider")->value(), 70);
    EXPECT_TRUE(child<QCheckBox>(&dialog, "hideShadowBox")->isChecked());
    EXPECT_FALSE(button(dialog, "autoShadowButton")->isEnabled());
    EXPECT_FALSE(button(dialog, "shadowChange")->isEnabled());
    EXPECT_TRUE(button(dialog, "cancel")->isEnabled());
    EXPECT_EQ(child<ColorSwatch>(&dialog, "backgroundSwatch")->color(), (ColorRgb{200, 210, 220}));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "shadowSwatch")->text(), QStringLiteral("影"));
    EXPECT_FALSE(state.playback.vtrPlaying);
    opened.shadowMode = 1;
    EXPECT_EQ(state.model.properties, opened);
}

TEST_F(PropertiesDialogTest, LiveChangesAreUndoneByCancel) {
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    const ModelProperties& p = state.model.properties;

    QTest::keyClick(slider(dialog, "lineWidthSlider"), Qt::Key_End);
    EXPECT_EQ(p.lineWidth, 20);
    QTest::keyClick(slider(dialog, "wobbleSlider"), Qt::Key_Home);
    EXPECT_EQ(p.wobbleAmount, 1);
    QTest::keyClick(slider(dialog, "vtrSpeedSlider"), Qt::Key_Right);
    EXPECT_EQ(p.vtrSpeed, 71);
    EXPECT_TRUE(state.playback.vtrPlaying) << "moving the speed starts a preview replay";
    EXPECT_EQ(state.playback.vtrDrawnLength, 0u);
    QTest::mouseClick(button(dialog, "autoShadowButton"), Qt::LeftButton);
    EXPECT_EQ(p.shadowColor, (ColorRgb{105, 115, 125}));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "shadowSwatch")->color(), p.shadowColor);
    QTest::mouseClick(child<QCheckBox>(&dialog, "hideShadowBox"), Qt::LeftButton);
    EXPECT_EQ(p.shadowMode, 1);
    EXPECT_FALSE(button(dialog, "autoShadowButton")->isEnabled());
    EXPECT_FALSE(button(dialog, "shadowChange")->isEnabled());
    QTest::mouseClick(button(dialog, "standardColorsButton"), Qt::LeftButton);
    EXPECT_EQ(p.lineColor, ModelProperties{}.lineColor);
    EXPECT_EQ(p.backgroundColor, ModelProperties{}.backgroundColor);
    EXPECT_EQ(child<ColorSwatch>(&dialog, "lineSwatch")->color(), ModelProperties{}.lineColor);
    child<QLineEdit>(&dialog, "widthEdit")->setText(QStringLiteral("100"));
    state.playback.vtrDrawnLength = 500;  // the replay has advanced meanwhile

    QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(state.model.properties, opened);
    EXPECT_FALSE(state.playback.vtrPlaying);
    EXPECT_EQ(state.playback.vtrDrawnLength, 0u);
    EXPECT_FALSE(state.model.modified);
    EXPECT_EQ(state.history.size(), 1u);
}

TEST_F(PropertiesDialogTest, EscapeRestoresLikeCancel) {
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    ASSERT_TRUE(test::showActive(dialog));
    QTest::keyClick(slider(dialog, "lineWidthSlider"), Qt::Key_Home);
    EXPECT_EQ(state.model.properties.lineWidth, 4);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(state.model.properties, opened);
}

TEST_F(PropertiesDialogTest, AutoShadowAveragesTheStandardColors) {
    state.model.properties = ModelProperties{};
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::mouseClick(button(dialog, "autoShadowButton"), Qt::LeftButton);
    EXPECT_EQ(state.model.properties.shadowColor, (ColorRgb{119, 78, 0}));
}

TEST_F(PropertiesDialogTest, EverythingStandardFillsTheSizeFieldsButResizesOnlyOnOk) {
    state.model.properties.shadowMode = 1;
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::mouseClick(button(dialog, "allStandardButton"), Qt::LeftButton);

    ModelProperties expected;
    expected.width = 320;
    expected.height = 240;
    EXPECT_EQ(state.model.properties, expected);
    EXPECT_EQ(slider(dialog, "lineWidthSlider")->value(), 0);
    EXPECT_EQ(slider(dialog, "wobbleSlider")->value(), 3);
    EXPECT_EQ(slider(dialog, "vtrSpeedSlider")->value(), 40);
    EXPECT_FALSE(child<QCheckBox>(&dialog, "hideShadowBox")->isChecked());
    EXPECT_TRUE(button(dialog, "shadowChange")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(&dialog, "widthEdit")->text(), QStringLiteral("800"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "heightEdit")->text(), QStringLiteral("600"));
    EXPECT_FALSE(state.playback.vtrPlaying) << "resetting the speed is no preview";

    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(state.model.properties, ModelProperties{});
}

struct SizeCase {
    const char* width;
    const char* height;
    const char* message;  // empty: accepted
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << '"' << c.width << "\"x\"" << c.height << '"';
}

class PropertiesSizeTest : public PropertiesDialogTest,
                           public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PropertiesSizeTest, OkValidatesTheSize) {
    const SizeCase& c = GetParam();
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::keyClick(slider(dialog, "wobbleSlider"), Qt::Key_End);
    state.playback.vtrPlaying = true;
    state.playback.vtrDrawnLength = 300;
    child<QLineEdit>(&dialog, "widthEdit")->setText(QString::fromLatin1(c.width));
    child<QLineEdit>(&dialog, "heightEdit")->setText(QString::fromLatin1(c.height));

    test::MessageBoxAnswerer answerer;
    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);

    if (*c.message != '\0') {
        ASSERT_EQ(answerer.texts.size(), 1);
        EXPECT_EQ(answerer.texts[0], QString::fromUtf8(c.message));
        EXPECT_EQ(answerer.captions[0], QString::fromUtf8(kAppTitle));
        EXPECT_FALSE(answerer.sawIcon);
        EXPECT_EQ(answerer.buttonCount, 1);
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        EXPECT_EQ(state.model.properties.width, 320);
        EXPECT_EQ(state.model.properties.wobbleAmount, 8) << "live changes stay in effect";
        EXPECT_EQ(state.history.size(), 1u);
        EXPECT_FALSE(state.model.modified);
        EXPECT_TRUE(state.playback.vtrPlaying);
    } else {
        EXPECT_TRUE(answerer.texts.isEmpty());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(state.model.properties.width, QByteArray(c.width).toInt());
        EXPECT_EQ(state.model.properties.height, QByteArray(c.height).toInt());
        EXPECT_EQ(state.model.properties.wobbleAmount, 8);
        EXPECT_EQ(state.history.size(), 2u);
        EXPECT_EQ(state.history.current().properties, state.model.properties);
        EXPECT_TRUE(state.model.modified);
        EXPECT_FALSE(state.playback.vtrPlaying);
        EXPECT_EQ(state.playback.vtrDrawnLength, 0u);
    }
}

const char* const kWidthMessage = "レクモデルの幅は 10～800 の値にしてください。";
const char* const kHeightMessage = "レクモデルの高さは 10～600 の値にしてください。";

INSTANTIATE_TEST_SUITE_P(
    Bounds, PropertiesSizeTest,
    ::testing::Values(SizeCase{"10", "10", ""}, SizeCase{"800", "600", ""},
                      SizeCase{"9", "100", kWidthMessage}, SizeCase{"801", "100", kWidthMessage},
                      SizeCase{"", "100", kWidthMessage}, SizeCase{"-5", "100", kWidthMessage},
                      SizeCase{"12a", "100", kWidthMessage},
                      SizeCase{"99999999999", "100", kWidthMessage},
                      SizeCase{"801", "601", kWidthMessage}, SizeCase{"100", "601", kHeightMessage},
                      SizeCase{"100", "9", kHeightMessage}));

TEST_F(PropertiesDialogTest, NewModelModeCannotBeCancelledAndRecordsNoSnapshot) {
    PropertiesDialog dialog(state, PropertiesDialog::Mode::NewModel);
    ASSERT_TRUE(test::showActive(dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("新規作成するレクモデルのプロパティ"));
    EXPECT_FALSE(button(dialog, "cancel")->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(state.history.size(), 1u);
    EXPECT_TRUE(state.model.modified);
}

// Runs the colour dialog that a 変更 button opens, clicks the given samples in it and closes it.
void pickSamples(std::vector<int> samples, bool keep, std::vector<ColorRgb>* seenOnCanvas,
                 const EditorState* state, const ColorSwatch* swatch) {
    test::whenModal([=](QWidget* modal) {
        auto* dialog = qobject_cast<ColorDialog*>(modal);
        if (dialog == nullptr)
            return false;
        for (int index : samples) {
            QTest::mouseClick(
                child<QWidget>(dialog, qPrintable(QStringLiteral("sample%1").arg(index))),
                Qt::LeftButton);
            seenOnCanvas->push_back(state->model.properties.lineColor);
            seenOnCanvas->push_back(swatch->color());
        }
        QTest::mouseClick(child<QPushButton>(dialog, keep ? "ok" : "cancel"), Qt::LeftButton);
        return true;
    });
}

TEST_F(PropertiesDialogTest, ColorDialogPreviewsLiveAndItsCancelRestores) {
    PropertiesDialog dialog(state, PropertiesDialog::Mode::Normal);
    dialog.show();
    const auto* swatch = child<ColorSwatch>(&dialog, "lineSwatch");

    std::vector<ColorRgb> seen;
    pickSamples({2, 26, 13}, false, &seen, &state, swatch);
    QTest::mouseClick(button(dialog, "lineChange"), Qt::LeftButton);
    const std::vector<ColorRgb> expected{
        kRed, kRed, {255, 255, 255}, {255, 255, 255}, {127, 127, 127}, {127, 127, 127}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(state.model.properties.lineColor, opened.lineColor);
    EXPECT_EQ(swatch->color(), opened.lineColor);

    seen.clear();
    pickSamples({2}, true, &seen, &state, swatch);
    QTest::mouseClick(button(dialog, "lineChange"), Qt::LeftButton);
    EXPECT_EQ(state.model.properties.lineColor, kRed);
    EXPECT_EQ(swatch->color(), kRed);

    // The properties dialog's own Cancel brings back the colour of its opening.
    QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    EXPECT_EQ(state.model.properties.lineColor, opened.lineColor);
}

}  // namespace
}  // namespace rek
