#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "dialog_test_support.h"
#include "scratch_folder.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/link_label.h"
#include "shell/dialogs/settings_dialog.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::child;

class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        association.dataHome = dataHome;
        association.executablePath = QStringLiteral("/usr/bin/rektool");
    }

    test::ScratchFolder folder;
    const QString dataHome = QString::fromStdString(folder.path().string());
    AssociationTarget association;
};

TEST_F(SettingsDialogTest, TheVtrSettingChangesOnOkOnly) {
    bool openInVtrMode = true;
    {
        SettingsDialog dialog(openInVtrMode, association);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定"));
        auto* box = child<QCheckBox>(&dialog, "vtrModeBox");
        EXPECT_TRUE(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&dialog, "cancel"), Qt::LeftButton);
    }
    EXPECT_TRUE(openInVtrMode);
    {
        SettingsDialog dialog(openInVtrMode, association);
        dialog.show();
        QTest::mouseClick(child<QCheckBox>(&dialog, "vtrModeBox"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&dialog, "ok"), Qt::LeftButton);
    }
    EXPECT_FALSE(openInVtrMode);
}

TEST_F(SettingsDialogTest, AssociationButtonsActAtOnceAndSayWhatTheyDid) {
    bool openInVtrMode = false;
    SettingsDialog dialog(openInVtrMode, association);
    dialog.show();
    test::MessageBoxAnswerer answerer;

    QTest::mouseClick(child<QPushButton>(&dialog, "associateButton"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(desktopEntryPath(dataHome)));
    QTest::mouseClick(child<QPushButton>(&dialog, "removeButton"), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(desktopEntryPath(dataHome)));
    EXPECT_TRUE(dialog.isVisible());

    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_EQ(
        answerer.texts[0],
        QStringLiteral("レクモデルファイル(～.rkm)を\n現在起動中のレクツールに関連付けました。"));
    EXPECT_EQ(answerer.texts[1],
              QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除しました。"));
    EXPECT_EQ(answerer.captions, QStringList(2, test::programTitle()));
    EXPECT_FALSE(answerer.sawIcon);
}

TEST_F(SettingsDialogTest, AFailedAssociationSaysWhyWithoutAnIcon) {
    QFile blocker(dataHome + QStringLiteral("/applications"));  // a file, not a folder
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    bool openInVtrMode = false;
    SettingsDialog dialog(openInVtrMode, association);
    dialog.show();
    test::MessageBoxAnswerer answerer;
    QTest::mouseClick(child<QPushButton>(&dialog, "associateButton"), Qt::LeftButton);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0],
              QStringLiteral("レクモデルファイル(～.rkm)を関連付けられませんでした。\n"
                             "フォルダを作成できません: ") +
                  dataHome + QStringLiteral("/applications"));
    EXPECT_FALSE(answerer.sawIcon);
    EXPECT_TRUE(dialog.isVisible());
}

class AboutBoxTest : public ::testing::Test {
  protected:
    AboutBoxTest() {
        info.imageLibraryLine = QStringLiteral("giflib Ver.5.22 / libimagequant Ver.2.17");
        info.feedback = {QStringLiteral("issues"),
                         QUrl(QStringLiteral("https://example.org/issues"))};
        info.home = {QStringLiteral("README.md"),
                     QUrl(QStringLiteral("https://example.org/readme"))};
    }

    AboutInfo info;
};

TEST_F(AboutBoxTest, ShowsTheVersionsAndCredits) {
    AboutBox box(info);
    box.show();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(child<QLabel>(&box, "versionLabel")->text(), test::programTitle());
    EXPECT_EQ(child<QLabel>(&box, "thanks0")->text(), info.imageLibraryLine);
    EXPECT_TRUE(child<QLabel>(&box, "thanks1")->text().startsWith(QStringLiteral("Qt 6.")));

    info.thanks = {QStringLiteral("giflib"), QStringLiteral("libimagequant"), QStringLiteral("x")};
    AboutBox custom(info);
    EXPECT_EQ(child<QLabel>(&custom, "thanks2")->text(), QStringLiteral("libimagequant"));
    EXPECT_EQ(child<QLabel>(&custom, "thanks3"), nullptr) << "two lines fit";
}

TEST_F(AboutBoxTest, LinksLookLikeLinksAndAreOnlyAsWideAsTheirText) {
    AboutBox box(info);
    box.show();
    for (const char* name : {"feedbackLink", "homeLink"}) {
        auto* link = child<LinkLabel>(&box, name);
        ASSERT_NE(link, nullptr) << name;
        const QFont font = link->font();
        EXPECT_TRUE(font.underline());
        EXPECT_EQ(font.pixelSize(), 12);
        // CJK faces are dual width, so fixed pitch shows in equal Latin advances.
        const QFontMetrics metrics(font);
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
                  metrics.horizontalAdvance(QLatin1Char('W')));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(128, 0, 255));
        EXPECT_EQ(link->width(), QFontMetrics(font).horizontalAdvance(link->text()));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_NE(box.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(child<LinkLabel>(&box, "homeLink")->text(), QStringLiteral("README.md"));
}

TEST_F(AboutBoxTest, ClicksOnTheTextOpenTheAddress) {
    test::UrlCatcher catcher({QStringLiteral("https")});
    AboutBox box(info);
    box.show();
    auto* home = child<LinkLabel>(&box, "homeLink");
    QTest::mouseClick(&box, Qt::LeftButton, {}, home->geometry().topRight() + QPoint(4, 2));
    EXPECT_TRUE(catcher.opened.isEmpty()) << "beside the text is no link";
    QTest::mouseClick(home, Qt::LeftButton);
    QTest::mouseClick(child<LinkLabel>(&box, "feedbackLink"), Qt::LeftButton);
    EXPECT_EQ(catcher.opened, (QList<QUrl>{info.home.target, info.feedback.target}));
}

TEST_F(AboutBoxTest, ALinkWithoutAddressIsLeftOutAndLeavesNoGap) {
    AboutBox both(info);
    const int firstRowTop = child<LinkLabel>(&both, "feedbackLink")->y();
    info.feedback = {};
    AboutBox box(info);
    EXPECT_EQ(child<LinkLabel>(&box, "feedbackLink"), nullptr);
    auto* home = child<LinkLabel>(&box, "homeLink");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->y(), firstRowTop) << "the remaining link takes the first row";
    EXPECT_LT(box.height(), both.height()) << "and the box loses the empty row";
    auto* thanks = child<QLabel>(&box, "thanks0")->parentWidget();
    EXPECT_GT(thanks->y(), home->geometry().bottom());
    EXPECT_LE(child<QPushButton>(&box, "ok")->geometry().bottom(), box.height());
}

TEST_F(AboutBoxTest, OkAndEscapeClose) {
    {
        AboutBox box(info);
        box.show();
        QTest::mouseClick(child<QPushButton>(&box, "ok"), Qt::LeftButton);
        EXPECT_FALSE(box.isVisible());
    }
    {
        AboutBox box(info);
        ASSERT_TRUE(test::showActive(box));
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_FALSE(box.isVisible());
    }
}

}  // namespace
}  // namespace rek
