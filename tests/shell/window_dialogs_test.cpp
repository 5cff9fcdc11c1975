// The dialogs the window opens, on the state they belong to: the properties of the open model,
// the About box and, without a scripted UI, the document questions.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <optional>
#include <utility>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QWidget>
#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "shell/dialog_document_ui.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/link_label.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell/text/messages.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::child;
using test::MainWindowTest;

// Runs `command` and hands the modal dialog of type Dialog it opens to `use`, which must close
// it.
template <typename Dialog, typename Use>
void withDialogOf(MainWindow& window, CommandId command, Use use) {
    EXPECT_TRUE(test::withModal<Dialog>([&] { window.runCommand(command); }, use))
        << "command " << static_cast<int>(command);
}

TEST_F(MainWindowTest, PropertiesResizeTheOpenModelAndTheCanvasFollows) {
    withDialogOf<PropertiesDialog>(*window, CommandId::Properties, [](PropertiesDialog& dialog) {
        child<QLineEdit>(&dialog, "widthEdit")->setText(QStringLiteral("300"));
        child<QLineEdit>(&dialog, "heightEdit")->setText(QStringLiteral("200"));
        child<QPushButton>(&dialog, "ok")->click();
    });
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(300, 200));
    EXPECT_EQ(statusText(StatusPanel::Size), QStringLiteral("300 × 200"));
    EXPECT_EQ(window->windowTitle(), test::programTitle() + QStringLiteral(" - [ 無題 * ]"));
}

// The manual lies where an installation puts it, relative to the running program: for this
// test program, <folder of the test>/../share/doc/rektool/README.md.
TEST_F(MainWindowTest, AboutLinksTheManualBesideTheProgramOnlyWhenItIsThere) {
    const std::filesystem::path manual =
        QCoreApplication::applicationDirPath().toStdString() + "/../share/doc/rektool/README.md";
    const auto homeLink = [this] {
        std::optional<std::pair<QString, QUrl>> home;
        withDialogOf<AboutBox>(*window, CommandId::About, [&home](AboutBox& box) {
            if (auto* link = child<LinkLabel>(&box, "homeLink"))
                home = std::make_pair(link->text(), link->target());
            box.accept();
        });
        return home;
    };
    std::filesystem::remove(manual);
    EXPECT_FALSE(homeLink().has_value());

    std::filesystem::create_directories(manual.parent_path());
    test::writeFileBytes(manual, {'#', '\n'});
    const auto home = homeLink();
    const QUrl url =
        QUrl::fromLocalFile(QString::fromStdString(std::filesystem::canonical(manual).string()));
    std::filesystem::remove(manual);
    ASSERT_TRUE(home.has_value());
    EXPECT_EQ(home->first, QStringLiteral("README.md"));
    EXPECT_EQ(home->second, url);
}

// The window with its own dialogs, as the program runs it.
class RealDialogsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { initResources(); }

    void SetUp() override {
        state.settings.openInVtrMode = false;
        state.fileDialog.initialFolder = QString::fromStdString(folder.path().string());
        window = std::make_unique<MainWindow>(state);
        ASSERT_TRUE(test::showActive(*window));
    }

    test::ScratchFolder folder;
    AppState state;
    std::unique_ptr<MainWindow> window;
};

TEST_F(RealDialogsTest, NewAsksForTheNewModelsProperties) {
    withDialogOf<PropertiesDialog>(*window, CommandId::New, [](PropertiesDialog& dialog) {
        child<QLineEdit>(&dialog, "widthEdit")->setText(QStringLiteral("400"));
        child<QPushButton>(&dialog, "ok")->click();
    });
    EXPECT_EQ(state.editor.model().properties.width, 400);
    EXPECT_FALSE(state.editor.model().modified);
    EXPECT_EQ(window->canvas().size(), CanvasWindow::outerSizeFor(400, 600));
}

TEST_F(RealDialogsTest, TheOpenChooserStartsInTheFirstFolderAndRemembersTheChoice) {
    const QString path =
        test::writeModelFile(folder.path("chosen.rkm"), test::strokes({{{1, 1}, {40, 40}}}));
    withDialogOf<QFileDialog>(*window, CommandId::Open, [&](QFileDialog& chooser) {
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("レクモデルファイルの読み込み"));
        EXPECT_EQ(chooser.directory().absolutePath(), state.fileDialog.initialFolder);
        chooser.selectFile(path);
        static_cast<QDialog&>(chooser).accept();  // as the Open or Save button does
    });
    EXPECT_EQ(state.editor.model().displayName, "chosen.rkm");
    EXPECT_EQ(state.fileDialog.path, path);
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
}

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
