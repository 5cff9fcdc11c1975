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

TEST_F(DialogDocumentUiTest, QuestionsAndMessagesAreBoxesWithTheirButtonsAndIcons) {
    for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, SaveAnswer::Yes},
                                         {QMessageBox::No, SaveAnswer::No},
                                         {QMessageBox::Cancel, SaveAnswer::Cancel}}) {
        MessageBoxAnswerer answerer(button);
        EXPECT_EQ(ui.askSaveChanges(), answer);
        EXPECT_EQ(answerer.texts,
                  QStringList{QStringLiteral("変更されたファイルを保存しますか？")});
        EXPECT_EQ(answerer.icons, QList{QMessageBox::NoIcon});
    }
    {
        MessageBoxAnswerer answerer(QMessageBox::No);
        EXPECT_FALSE(ui.confirmOverwrite(QStringLiteral("/some/folder/face.rkm")));
        EXPECT_EQ(answerer.texts,
                  QStringList{QStringLiteral("face.rkm は既に存在します。\n上書きしますか？")});
        EXPECT_EQ(answerer.icons, QList{QMessageBox::Warning});
        EXPECT_EQ(answerer.buttonSets, QList{QMessageBox::Yes | QMessageBox::No});
    }
    MessageBoxAnswerer answerer;
    ui.showMessage(messages::modelFileError(ModelFileError::Invalid));
    ui.showMessage(messages::modelFileError(ModelFileError::WriteFailed));
    EXPECT_EQ(answerer.icons, (QList{QMessageBox::NoIcon, QMessageBox::Critical}));
    EXPECT_EQ(answerer.captions, QStringList(2, test::programTitle()));
}

TEST_F(DialogDocumentUiTest, TheRecoveryQuestionOffersRestoreDiscardAndLater) {
    const QDateTime savedAt(QDate(2024, 5, 6), QTime(7, 8));
    // The button pressed (-1: Escape) and the answer it gives.
    for (const auto& [button, answer] : {std::pair{0, RecoveryAnswer::Restore},
                                         {1, RecoveryAnswer::Discard},
                                         {2, RecoveryAnswer::Later},
                                         {-1, RecoveryAnswer::Later}}) {
        QStringList buttons;
        QString text;
        test::whenModal([&, button = button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return false;
            text = box->text();
            for (QAbstractButton* each : box->buttons())
                buttons << each->text();
            if (button < 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->buttons().at(button)->click();
            return true;
        });
        EXPECT_EQ(ui.askRecovery(QStringLiteral("face.rkm"), savedAt), answer);
        EXPECT_EQ(text, QStringLiteral("前回、保存されていない変更がありました。復元しますか？\n\n"
                                       "face.rkm（2024/05/06 07:08）"));
        EXPECT_EQ(buttons, (QStringList{QStringLiteral("復元"), QStringLiteral("破棄"),
                                        QStringLiteral("後で")}));
    }
}

}  // namespace
}  // namespace rek
