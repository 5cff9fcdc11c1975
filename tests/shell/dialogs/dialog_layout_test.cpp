// Every dialog in every language the program speaks: each text fits the place the dialog gives
// it (dialog-unit layouts were made for the Japanese texts), and the English dialogs show no
// Japanese left untranslated.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <memory>

#include "canvas/editor.h"
#include "export/bmp_export_dialog.h"
#include "export/gif_export_dialog.h"
#include "export_test_support.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/color_dialog.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell/dialogs/settings_dialog.h"
#include "shell/text/language.h"

namespace rek {
namespace {

// Kana and kanji, and the full-width forms: what an untranslated Japanese text contains.
bool hasJapanese(const QString& text) {
    for (const QChar c : text) {
        if ((c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
            (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    }
    return false;
}

class DialogLayout : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override { useLanguage(QString::fromLatin1(GetParam())); }
    void TearDown() override { useLanguage(QStringLiteral("ja")); }

    bool english() const { return std::string_view(GetParam()) == "en"; }

    void expectTextOf(const QString& text, const QString& where) const {
        if (english()) {
            EXPECT_FALSE(hasJapanese(text)) << where.toStdString() << ": " << text.toStdString();
        }
    }

    // Shows the dialog (laid out as on screen) and checks every text in it.
    void expectTextsFit(QWidget& dialog) const {
        dialog.show();
        QApplication::processEvents();
        const QString name = dialog.windowTitle();
        expectTextOf(name, QStringLiteral("title"));
        const QRect inside = dialog.rect();
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            const QRect place(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(inside.contains(place))
                << name.toStdString() << ": " << widget->metaObject()->className() << " "
                << widget->objectName().toStdString() << " lies outside the dialog";
            const std::string where = name.toStdString() + ": ";
            if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
                expectTextOf(label->text(), name);
                if (label->wordWrap()) {
                    EXPECT_LE(label->heightForWidth(label->width()), label->height())
                        << where << label->text().toStdString();
                } else {
                    EXPECT_LE(label->sizeHint().width(), label->width())
                        << where << label->text().toStdString();
                    EXPECT_LE(label->fontMetrics().height() * (label->text().count('\n') + 1),
                              label->contentsRect().height())
                        << where << label->text().toStdString();
                }
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                       button && !button->text().isEmpty()) {
                expectTextOf(button->text(), name);
                EXPECT_LE(button->sizeHint().width(), button->width())
                    << where << button->text().toStdString();
            } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                expectTextOf(group->title(), name);
                QStyleOptionGroupBox option;
                option.initFrom(group);
                option.text = group->title();
                option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
                const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                   QStyle::SC_GroupBoxLabel, group);
                EXPECT_LE(title.right(), group->width()) << where << group->title().toStdString();
            }
        }
        dialog.close();
    }
};

TEST_P(DialogLayout, EveryDialog) {
    Editor editor;
    PropertiesDialog properties(editor, PropertiesDialog::Mode::Normal);
    expectTextsFit(properties);
    PropertiesDialog newModel(editor, PropertiesDialog::Mode::NewModel);
    expectTextsFit(newModel);
    ColorDialog colour(ColorRgb{10, 20, 30});
    expectTextsFit(colour);
    bool openInVtrMode = false;
    SettingsDialog settings(openInVtrMode, AssociationTarget{});
    expectTextsFit(settings);

    AboutInfo info;
    info.imageLibraryLine = QStringLiteral("giflib 5.2.1, libimagequant 2.17.0");
    info.thanks = {QStringLiteral("Eric S. Raymond, Kornel Lesinski"), QStringLiteral("Qt 6")};
    info.feedback = {QStringLiteral("example.org"),
                     QUrl(QStringLiteral("https://example.org/rektool/issues"))};
    info.home = {QStringLiteral("README.md"), QUrl(QStringLiteral("file:///README.md"))};
    AboutBox about(info);
    expectTextsFit(about);

    ExportSettings exportSettings;
    const AnimationSnapshot snapshot = test::twoSegmentModel();
    GifExportDialog gif(snapshot, QStringLiteral("/home/user/face.rkm"), exportSettings, {},
                        nullptr);
    expectTextsFit(gif);
    BmpExportDialog bmp(snapshot, QStringLiteral("/home/user/face.rkm"), exportSettings, {},
                        nullptr);
    expectTextsFit(bmp);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DialogLayout, ::testing::Values("ja", "en"));

}  // namespace
}  // namespace rek
