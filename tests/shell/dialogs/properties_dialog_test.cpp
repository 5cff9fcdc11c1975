#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "dialog_test_support.h"
#include "render/frame_renderer.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/color_swatch.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::child;

constexpr ColorRgb kRed{255, 0, 0};

class PropertiesDialogTest : public ::testing::Test {
  protected:
    PropertiesDialogTest() {
        opened.width = 320;
        opened.height = 240;
        opened.wobbleAmount = 5;
        opened.vtrSpeed = 70;
        opened.lineWidth = 10;
        opened.lineColor = {10, 20, 30};
        opened.shadowColor = {40, 50, 60};
        opened.backgroundColor = {200, 210, 220};
        open(opened);
    }

    // An editor showing a drawing of these properties, unmodified, with one history entry.
    void open(const ModelProperties& properties) {
        editor.replaceDocument(
            ModelFileContents{properties, test::strokes({{{10, 10}, {200, 10}, {200, 100}}})}, "",
            "", false);
        editor.restartHistory();
    }

    const ModelProperties& properties() const { return editor.model().properties; }

    QSlider* slider(PropertiesDialog& d, const char* name) { return child<QSlider>(&d, name); }
    QPushButton* button(PropertiesDialog& d, const char* name) {
        return child<QPushButton>(&d, name);
    }

    ModelProperties opened;
    Editor editor;
    FrameRenderer renderer;
};

TEST_F(PropertiesDialogTest, OpeningShowsTheModelAndChangesNothing) {
    opened.shadowMode = 1;
    open(opened);
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
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
    EXPECT_FALSE(editor.replaying());
    EXPECT_EQ(properties(), opened);
    EXPECT_FALSE(editor.model().modified);
}

TEST_F(PropertiesDialogTest, LiveChangesAreUndoneByCancel) {
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    dialog.show();
    const ModelProperties& p = properties();

    QTest::keyClick(slider(dialog, "lineWidthSlider"), Qt::Key_End);
    EXPECT_EQ(p.lineWidth, 20);
    QTest::keyClick(slider(dialog, "wobbleSlider"), Qt::Key_Home);
    EXPECT_EQ(p.wobbleAmount, 1);
    QTest::keyClick(slider(dialog, "vtrSpeedSlider"), Qt::Key_Right);
    EXPECT_EQ(p.vtrSpeed, 71);
    EXPECT_TRUE(editor.replaying()) << "moving the speed starts a preview replay";
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
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
    editor.frameTick(renderer, {0, 0});  // the replay has advanced meanwhile
    ASSERT_EQ(editor.replayDrawnLength(), 71u);

    QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(properties(), opened);
    EXPECT_FALSE(editor.replaying());
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.historySize(), 1u);
}

TEST_F(PropertiesDialogTest, EscapeRestoresLikeCancel) {
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    ASSERT_TRUE(test::showActive(dialog));
    QTest::keyClick(slider(dialog, "lineWidthSlider"), Qt::Key_Home);
    EXPECT_EQ(properties().lineWidth, 4);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(properties(), opened);
}

TEST_F(PropertiesDialogTest, AutoShadowAveragesTheStandardColors) {
    open(ModelProperties{});
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::mouseClick(button(dialog, "autoShadowButton"), Qt::LeftButton);
    EXPECT_EQ(properties().shadowColor, (ColorRgb{119, 78, 0}));
    EXPECT_EQ(child<ColorSwatch>(&dialog, "shadowSwatch")->color(), (ColorRgb{119, 78, 0}));
}

TEST_F(PropertiesDialogTest, EverythingStandardFillsTheSizeFieldsButResizesOnlyOnOk) {
    opened.shadowMode = 1;
    open(opened);
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::mouseClick(button(dialog, "allStandardButton"), Qt::LeftButton);

    ModelProperties expected;
    expected.width = 320;
    expected.height = 240;
    EXPECT_EQ(properties(), expected);
    EXPECT_EQ(slider(dialog, "lineWidthSlider")->value(), 0);
    EXPECT_EQ(slider(dialog, "wobbleSlider")->value(), 3);
    EXPECT_EQ(slider(dialog, "vtrSpeedSlider")->value(), 40);
    EXPECT_FALSE(child<QCheckBox>(&dialog, "hideShadowBox")->isChecked());
    EXPECT_TRUE(button(dialog, "shadowChange")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(&dialog, "widthEdit")->text(), QStringLiteral("800"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "heightEdit")->text(), QStringLiteral("600"));
    EXPECT_FALSE(editor.replaying()) << "resetting the speed is no preview";

    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    EXPECT_EQ(properties(), ModelProperties{});
}

struct SizeCase {
    const char* width;
    const char* height;
    const char* message;  // empty: accepted, as the size below
    std::int32_t acceptedWidth = 0;
    std::int32_t acceptedHeight = 0;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << '"' << c.width << "\"x\"" << c.height << '"';
}

class PropertiesSizeTest : public PropertiesDialogTest,
                           public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PropertiesSizeTest, OkValidatesTheSize) {
    const SizeCase& c = GetParam();
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    dialog.show();
    QTest::keyClick(slider(dialog, "wobbleSlider"), Qt::Key_End);
    editor.toggleReplay();
    editor.frameTick(renderer, {0, 0});
    ASSERT_EQ(editor.replayDrawnLength(), 70u);
    child<QLineEdit>(&dialog, "widthEdit")->setText(QString::fromUtf8(c.width));
    child<QLineEdit>(&dialog, "heightEdit")->setText(QString::fromUtf8(c.height));

    test::MessageBoxAnswerer answerer;
    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);

    if (*c.message != '\0') {
        ASSERT_EQ(answerer.texts.size(), 1);
        EXPECT_EQ(answerer.texts[0], QString::fromUtf8(c.message));
        EXPECT_EQ(answerer.captions[0], test::programTitle());
        EXPECT_FALSE(answerer.sawIcon);
        EXPECT_EQ(answerer.buttonCount, 1);
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        EXPECT_EQ(properties().width, 320);
        EXPECT_EQ(properties().wobbleAmount, 8) << "live changes stay in effect";
        EXPECT_EQ(editor.historySize(), 1u);
        EXPECT_FALSE(editor.model().modified);
        EXPECT_TRUE(editor.replaying());
        EXPECT_EQ(editor.replayDrawnLength(), 70u);
    } else {
        ASSERT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(properties().width, c.acceptedWidth);
        EXPECT_EQ(properties().height, c.acceptedHeight);
        EXPECT_EQ(properties().wobbleAmount, 8);
        EXPECT_EQ(editor.historySize(), 2u);
        EXPECT_TRUE(editor.model().modified);
        EXPECT_FALSE(editor.replaying());
        EXPECT_EQ(editor.replayDrawnLength(), 0u);
        // The snapshot holds the new size: undo goes back to the old one.
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(properties().width, 320);
        ASSERT_TRUE(editor.redo());
        EXPECT_EQ(properties().width, c.acceptedWidth);
    }
}

const char* const kWidthMessage = "レクモデルの幅は 10～800 の値にしてください。";
const char* const kHeightMessage = "レクモデルの高さは 10～600 の値にしてください。";

INSTANTIATE_TEST_SUITE_P(
    Bounds, PropertiesSizeTest,
    ::testing::Values(SizeCase{"10", "10", "", 10, 10}, SizeCase{"800", "600", "", 800, 600},
                      SizeCase{"9", "100", kWidthMessage}, SizeCase{"801", "100", kWidthMessage},
                      SizeCase{"", "100", kWidthMessage}, SizeCase{"-5", "100", kWidthMessage},
                      SizeCase{"12a", "100", kWidthMessage},
                      SizeCase{"99999999999", "100", kWidthMessage},
                      SizeCase{"4294967306", "100", kWidthMessage},
                      SizeCase{"801", "601", kWidthMessage}, SizeCase{"100", "601", kHeightMessage},
                      SizeCase{"100", "9", kHeightMessage}));

// Numbers as the fields have always read them: surrounding blanks, a plus sign and leading
// zeros are fine; full-width digits are not numbers.
INSTANTIATE_TEST_SUITE_P(Spellings, PropertiesSizeTest,
                         ::testing::Values(SizeCase{" 640 ", "\t480", "", 640, 480},
                                           SizeCase{"+640", "+480", "", 640, 480},
                                           SizeCase{"00000000640", "0480", "", 640, 480},
                                           SizeCase{"\xEF\xBC\x96\xEF\xBC\x94\xEF\xBC\x90", "480",
                                                    kWidthMessage},
                                           SizeCase{"6 40", "480", kWidthMessage}));

TEST_F(PropertiesDialogTest, NewModelModeCannotBeCancelledAndRecordsNoSnapshot) {
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::NewModel);
    ASSERT_TRUE(test::showActive(dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("新規作成するレクモデルのプロパティ"));
    EXPECT_FALSE(button(dialog, "cancel")->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());

    QTest::mouseClick(button(dialog, "ok"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(editor.historySize(), 1u);
    EXPECT_TRUE(editor.model().modified);
}

// Runs the colour dialog that a 変更 button opens, clicks the given samples in it and closes it.
void pickSamples(std::vector<int> samples, bool keep, std::vector<ColorRgb>* seenOnCanvas,
                 const Editor* editor, const ColorSwatch* swatch) {
    test::whenModal([=](QWidget* modal) {
        auto* dialog = qobject_cast<ColorDialog*>(modal);
        if (dialog == nullptr)
            return false;
        for (int index : samples) {
            QTest::mouseClick(
                child<QWidget>(dialog, qPrintable(QStringLiteral("sample%1").arg(index))),
                Qt::LeftButton);
            seenOnCanvas->push_back(editor->model().properties.lineColor);
            seenOnCanvas->push_back(swatch->color());
        }
        QTest::mouseClick(child<QPushButton>(dialog, keep ? "ok" : "cancel"), Qt::LeftButton);
        return true;
    });
}

TEST_F(PropertiesDialogTest, ColorDialogPreviewsLiveAndItsCancelRestores) {
    PropertiesDialog dialog(editor, PropertiesDialog::Mode::Normal);
    dialog.show();
    const auto* swatch = child<ColorSwatch>(&dialog, "lineSwatch");

    std::vector<ColorRgb> seen;
    pickSamples({2, 26, 13}, false, &seen, &editor, swatch);
    QTest::mouseClick(button(dialog, "lineChange"), Qt::LeftButton);
    const std::vector<ColorRgb> expected{
        kRed, kRed, {255, 255, 255}, {255, 255, 255}, {127, 127, 127}, {127, 127, 127}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(properties().lineColor, opened.lineColor);
    EXPECT_EQ(swatch->color(), opened.lineColor);

    seen.clear();
    pickSamples({2}, true, &seen, &editor, swatch);
    QTest::mouseClick(button(dialog, "lineChange"), Qt::LeftButton);
    EXPECT_EQ(properties().lineColor, kRed);
    EXPECT_EQ(swatch->color(), kRed);
    EXPECT_EQ(properties().lineWidth, opened.lineWidth) << "a colour leaves the width";
    EXPECT_EQ(properties().backgroundColor, opened.backgroundColor);

    // The properties dialog's own Cancel brings back the colour of its opening.
    QTest::mouseClick(button(dialog, "cancel"), Qt::LeftButton);
    EXPECT_EQ(properties().lineColor, opened.lineColor);
}

}  // namespace
}  // namespace rek
