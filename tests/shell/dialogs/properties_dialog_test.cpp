#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <vector>
#include "dialog_test_support.h"
#include "render/frame_renderer.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/color_swatch.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::child;

class PropertiesDialogTest : public ::testing::Test {
  protected:
    // An editor showing a drawing of these properties, unmodified, with one history entry.
    void open(const ModelProperties& properties) {
        editor.replaceDocument(
            ModelFileContents{properties, test::strokes({{{10, 10}, {200, 10}, {200, 100}}})}, "",
            "", false);
        editor.restartHistory();
    }

    const ModelProperties& properties() const { return editor.model().properties; }
    QSlider* slider(const char* name) { return child<QSlider>(&dialog, name); }
    QPushButton* button(const char* name) { return child<QPushButton>(&dialog, name); }
    ColorSwatch* swatch(const char* name) { return child<ColorSwatch>(&dialog, name); }
    void setSize(const char* width, const char* height) {
        child<QLineEdit>(&dialog, "widthEdit")->setText(QString::fromUtf8(width));
        child<QLineEdit>(&dialog, "heightEdit")->setText(QString::fromUtf8(height));
    }

    ModelProperties opened{320, 240, 5, 70, {10, 20, 30}, {40, 50, 60}, {200, 210, 220}, 0, 10};
    Editor editor;
    FrameRenderer renderer;
    bool loaded = (open(opened), true);
    PropertiesDialog dialog{editor, PropertiesDialog::Mode::Normal};
};

TEST_F(PropertiesDialogTest, LiveChangesAreUndoneByCancel) {
    ASSERT_TRUE(test::showActive(dialog));
    EXPECT_EQ(slider("lineWidthSlider")->value(), 3);  // (10 - 4) / 2
    EXPECT_FALSE(editor.model().modified) << "opening changes nothing";
    const ModelProperties& p = properties();

    QTest::keyClick(slider("lineWidthSlider"), Qt::Key_End);
    EXPECT_EQ(p.lineWidth, 20);
    QTest::keyClick(slider("wobbleSlider"), Qt::Key_Home);
    EXPECT_EQ(p.wobbleAmount, 1);
    QTest::keyClick(slider("vtrSpeedSlider"), Qt::Key_Right);
    EXPECT_EQ(p.vtrSpeed, 71);
    EXPECT_TRUE(editor.replaying()) << "moving the speed starts a preview replay";
    QTest::mouseClick(button("autoShadowButton"), Qt::LeftButton);
    EXPECT_EQ(p.shadowColor, (ColorRgb{105, 115, 125}));
    QTest::mouseClick(child<QCheckBox>(&dialog, "hideShadowBox"), Qt::LeftButton);
    EXPECT_EQ(p.shadowMode, 1);
    EXPECT_FALSE(button("autoShadowButton")->isEnabled());
    QTest::mouseClick(button("standardColorsButton"), Qt::LeftButton);
    EXPECT_EQ(p.lineColor, ModelProperties{}.lineColor);
    EXPECT_EQ(swatch("lineSwatch")->color(), ModelProperties{}.lineColor);
    setSize("100", "100");
    editor.frameTick(renderer, {0, 0});  // the replay has advanced meanwhile
    ASSERT_EQ(editor.replayDrawnLength(), 71u);

    QTest::keyClick(&dialog, Qt::Key_Escape);  // as Cancel
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(properties(), opened);
    EXPECT_FALSE(editor.replaying());
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.historySize(), 1u);
}

TEST_F(PropertiesDialogTest, OkRefusesASizeOutOfRangeAndKeepsTheLiveChanges) {
    const QString width = QStringLiteral("レクモデルの幅は 10～800 の値にしてください。");
    const QString height = QStringLiteral("レクモデルの高さは 10～600 の値にしてください。");
    // Full-width digits are no number; neither is anything past the range of an int.
    const std::tuple<const char*, const char*, QString> refused[] = {
        {"9", "100", width},      {"801", "601", width},  {"", "100", width},
        {"-5", "100", width},     {"12a", "100", width},  {"4294967306", "100", width},
        {"６４０", "480", width}, {"6 40", "480", width}, {"100", "601", height},
        {"100", "9", height},
    };
    dialog.show();
    QTest::keyClick(slider("wobbleSlider"), Qt::Key_End);
    editor.toggleReplay();
    editor.frameTick(renderer, {0, 0});
    ASSERT_EQ(editor.replayDrawnLength(), 70u);
    for (const auto& [w, h, message] : refused) {
        setSize(w, h);
        test::MessageBoxAnswerer answerer;
        QTest::mouseClick(button("ok"), Qt::LeftButton);
        EXPECT_EQ(answerer.texts, QStringList{message}) << w << "x" << h;
        EXPECT_EQ(answerer.icons, QList{QMessageBox::NoIcon});
        EXPECT_EQ(answerer.buttonSets, QList<QMessageBox::StandardButtons>{QMessageBox::Ok});
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    }
    EXPECT_EQ(properties().width, 320);
    EXPECT_EQ(properties().wobbleAmount, 8) << "live changes stay in effect";
    EXPECT_EQ(editor.historySize(), 1u);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.replayDrawnLength(), 70u);
}

// Numbers as the fields have always read them: surrounding blanks, a plus sign and leading
// zeros are fine; the bounds are in.
TEST_F(PropertiesDialogTest, OkTakesASizeInRangeAsOneSnapshot) {
    const std::tuple<const char*, const char*, int, int> accepted[] = {
        {"10", "10", 10, 10},       {"800", "600", 800, 600},          {" 640 ", "\t480", 640, 480},
        {"+640", "+480", 640, 480}, {"00000000640", "0480", 640, 480},
    };
    for (const auto& [w, h, width, height] : accepted) {
        open(opened);
        PropertiesDialog accepting(editor, PropertiesDialog::Mode::Normal);
        accepting.show();
        QTest::keyClick(child<QSlider>(&accepting, "wobbleSlider"), Qt::Key_End);
        editor.toggleReplay();
        child<QLineEdit>(&accepting, "widthEdit")->setText(QString::fromUtf8(w));
        child<QLineEdit>(&accepting, "heightEdit")->setText(QString::fromUtf8(h));
        test::MessageBoxAnswerer answerer;
        QTest::mouseClick(child<QPushButton>(&accepting, "ok"), Qt::LeftButton);
        ASSERT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
        EXPECT_EQ(accepting.result(), QDialog::Accepted);
        EXPECT_EQ(properties().width, width) << w;
        EXPECT_EQ(properties().height, height) << h;
        EXPECT_EQ(properties().wobbleAmount, 8);
        EXPECT_TRUE(editor.model().modified);
        EXPECT_FALSE(editor.replaying());
        // The snapshot holds the new size: undo goes back to the old one.
        EXPECT_EQ(editor.historySize(), 2u);
        ASSERT_TRUE(editor.undo());
        EXPECT_EQ(properties().width, 320);
    }
}

TEST_F(PropertiesDialogTest, NewModelModeCannotBeCancelledAndRecordsNoSnapshot) {
    PropertiesDialog newModel(editor, PropertiesDialog::Mode::NewModel);
    ASSERT_TRUE(test::showActive(newModel));
    EXPECT_EQ(newModel.windowTitle(), QStringLiteral("新規作成するレクモデルのプロパティ"));
    EXPECT_FALSE(child<QPushButton>(&newModel, "cancel")->isEnabled());
    QTest::keyClick(&newModel, Qt::Key_Escape);
    newModel.reject();
    EXPECT_TRUE(newModel.isVisible());
    QTest::mouseClick(child<QPushButton>(&newModel, "ok"), Qt::LeftButton);
    EXPECT_FALSE(newModel.isVisible());
    EXPECT_EQ(editor.historySize(), 1u);
    EXPECT_TRUE(editor.model().modified);
}

TEST_F(PropertiesDialogTest, ColorDialogPreviewsLiveAndItsCancelRestores) {
    dialog.show();
    // Runs the colour dialog that 変更 opens, clicks the samples in it and closes it; returns
    // the line colour of the model and of the swatch after each click.
    const auto pick = [this](std::vector<int> samples, bool keep) {
        std::vector<ColorRgb> seen;
        test::whenModal([&](QWidget* modal) {
            auto* colors = qobject_cast<ColorDialog*>(modal);
            if (colors == nullptr)
                return false;
            for (int index : samples) {
                QTest::mouseClick(
                    child<QWidget>(colors, qPrintable(QStringLiteral("sample%1").arg(index))),
                    Qt::LeftButton);
                seen.push_back(properties().lineColor);
                seen.push_back(swatch("lineSwatch")->color());
            }
            QTest::mouseClick(child<QPushButton>(colors, keep ? "ok" : "cancel"), Qt::LeftButton);
            return true;
        });
        QTest::mouseClick(button("lineChange"), Qt::LeftButton);
        return seen;
    };
    const ColorRgb red{255, 0, 0};
    const ColorRgb white{255, 255, 255};
    const ColorRgb grey{127, 127, 127};
    EXPECT_EQ(pick({2, 26, 13}, false), (std::vector{red, red, white, white, grey, grey}));
    EXPECT_EQ(properties().lineColor, opened.lineColor);
    EXPECT_EQ(swatch("lineSwatch")->color(), opened.lineColor);

    pick({2}, true);
    EXPECT_EQ(properties().lineColor, red);
    EXPECT_EQ(swatch("lineSwatch")->color(), red);
    EXPECT_EQ(properties().backgroundColor, opened.backgroundColor);
    // The properties dialog's own Cancel brings back the colour of its opening.
    QTest::mouseClick(button("cancel"), Qt::LeftButton);
    EXPECT_EQ(properties().lineColor, opened.lineColor);
}

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
