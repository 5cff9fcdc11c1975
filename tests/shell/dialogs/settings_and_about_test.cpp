#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "dialog_test_support.h"
#include "scratch_folder.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/link_label.h"
#include "shell/dialogs/settings_dialog.h"
#include "shell/text/messages.h"
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

    EXPECT_EQ(answerer.texts, (QStringList{messages::associationDone(AssociationAction::Associate),
                                           messages::associationDone(AssociationAction::Remove)}));
    EXPECT_EQ(answerer.captions, QStringList(2, test::programTitle()));
    EXPECT_EQ(answerer.icons, QList<QMessageBox::Icon>(2, QMessageBox::NoIcon));
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

TEST_F(AboutBoxTest, ClicksOnTheTextOpenTheAddress) {
    test::UrlCatcher catcher({QStringLiteral("https")});
    AboutBox box(info);
    box.show();
    auto* home = child<LinkLabel>(&box, "homeLink");
    QTest::mouseClick(&box, Qt::LeftButton, {}, home->geometry().topRight() + QPoint(4, 2));
    EXPECT_TRUE(catcher.opened.isEmpty()) << "beside the text is no link";
    EXPECT_EQ(home->cursor().shape(), Qt::PointingHandCursor);
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

}  // namespace
}  // namespace rek
