// The document commands' questions as the real window asks them: message boxes captioned with
// the program title.

#include "shell/dialog_document_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QWidget>

#include "dialog_test_support.h"
#include "shell/text/messages.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::MessageBoxAnswerer;

class DialogDocumentUiTest : public ::testing::Test {
  protected:
    AppState state;
    QWidget owner;
    DialogLauncher launcher{state, &owner};
    DialogDocumentUi ui{launcher, &owner};
};

TEST_F(DialogDocumentUiTest, TheSaveQuestionOffersYesNoAndCancel) {
    const std::pair<QMessageBox::StandardButton, SaveAnswer> answers[] = {
        {QMessageBox::Yes, SaveAnswer::Yes},
        {QMessageBox::No, SaveAnswer::No},
        {QMessageBox::Cancel, SaveAnswer::Cancel},
    };
    for (const auto& [button, answer] : answers) {
        MessageBoxAnswerer answerer(button);
        EXPECT_EQ(ui.askSaveChanges(), answer);
        ASSERT_EQ(answerer.texts.size(), 1);
        EXPECT_EQ(answerer.texts[0], QStringLiteral("変更されたファイルを保存しますか？"));
        EXPECT_EQ(answerer.captions[0], test::programTitle());
        EXPECT_EQ(answerer.icons[0], QMessageBox::NoIcon);
        EXPECT_EQ(answerer.buttonSets[0], QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
}

TEST_F(DialogDocumentUiTest, TheOverwriteQuestionNamesTheFileAndWarns) {
    for (const bool yes : {true, false}) {
        MessageBoxAnswerer answerer(yes ? QMessageBox::Yes : QMessageBox::No);
        EXPECT_EQ(ui.confirmOverwrite(QStringLiteral("/some/folder/face.rkm")), yes);
        ASSERT_EQ(answerer.texts.size(), 1);
        EXPECT_EQ(answerer.texts[0],
                  QStringLiteral("face.rkm は既に存在します。\n上書きしますか？"));
        EXPECT_EQ(answerer.captions[0], test::programTitle());
        EXPECT_EQ(answerer.icons[0], QMessageBox::Warning);
        EXPECT_EQ(answerer.buttonSets[0], QMessageBox::Yes | QMessageBox::No);
    }
}

TEST_F(DialogDocumentUiTest, MessagesShowTheirIconWithOk) {
    MessageBoxAnswerer answerer;
    ui.showMessage(messages::modelFileError(ModelFileError::Invalid));
    ui.showMessage(messages::modelFileError(ModelFileError::WriteFailed));
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_EQ(answerer.texts[0], QStringLiteral("正しいレクモデルファイルではありません。"));
    EXPECT_EQ(answerer.icons[0], QMessageBox::NoIcon);
    EXPECT_EQ(answerer.texts[1], QStringLiteral("ファイルを保存できませんでした。"));
    EXPECT_EQ(answerer.icons[1], QMessageBox::Critical);
    EXPECT_EQ(answerer.buttonSets[1], QMessageBox::Ok);
    EXPECT_EQ(answerer.captions, QStringList(2, test::programTitle()));
}

TEST_F(DialogDocumentUiTest, TheRecoveryQuestionOffersRestoreDiscardAndLater) {
    const QDateTime savedAt(QDate(2024, 5, 6), QTime(7, 8));
    struct Reply {
        int button;  // -1: Escape
        RecoveryAnswer answer;
    };
    for (const Reply reply : {Reply{0, RecoveryAnswer::Restore}, Reply{1, RecoveryAnswer::Discard},
                              Reply{2, RecoveryAnswer::Later}, Reply{-1, RecoveryAnswer::Later}}) {
        QStringList buttons;
        QString text;
        QString caption;
        test::whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return false;
            text = box->text();
            caption = box->windowTitle();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            if (reply.button < 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->buttons().at(reply.button)->click();
            return true;
        });
        EXPECT_EQ(ui.askRecovery(QStringLiteral("face.rkm"), savedAt), reply.answer);
        EXPECT_EQ(text, QStringLiteral("前回、保存されていない変更がありました。復元しますか？\n\n"
                                       "face.rkm（2024/05/06 07:08）"));
        EXPECT_EQ(caption, test::programTitle());
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("復元"), QStringLiteral("破棄"),
                                        QStringLiteral("後で")}));
    }
}

}  // namespace
}  // namespace rek
