#include "shell/document_commands.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "fake_document_ui.h"
#include "file_helpers.h"
#include "scratch_folder.h"
#include "shell/native_path.h"
#include "shell_test_support.h"
#include "unprivileged.h"

namespace rek {
namespace {

class DocumentCommandsTest : public ::testing::Test {
  protected:
    // Drawing after an open needs no replay in the way.
    DocumentCommandsTest() { state.settings.openInVtrMode = false; }

    // A drawing with one line, changed since it was last saved.
    void drawLine() { test::drawLine(state.editor, {10, 10}, {50, 10}); }

    // A model of three vertices with the given line width, saved in the scratch folder.
    QString savedModel(const std::string& name, std::int32_t lineWidth) {
        ModelProperties properties;
        properties.lineWidth = lineWidth;
        return test::writeModelFile(folder.path(name), test::strokes({{{1, 2}, {3, 4}, {5, 6}}}),
                                    properties);
    }

    QString scratchFile(const std::string& name) {
        return QString::fromStdString(folder.file(name));
    }

    const Model& model() const { return state.editor.model(); }

    test::ScratchFolder folder;
    AppState state;
    FakeDocumentUi ui;
    DocumentCommands commands{state, ui};
};

TEST_F(DocumentCommandsTest, CloseAsksOnlyWhenModifiedAndCancelKeepsRunning) {
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_EQ(ui.saveQuestions, 0);

    drawLine();
    ui.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(commands.confirmClose());
    ui.saveAnswers = {SaveAnswer::No};
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_EQ(ui.saveQuestions, 2);
    EXPECT_TRUE(model().modified) << "No drops the changes only by going on";
}

TEST_F(DocumentCommandsTest, YesWhoseSaveIsCancelledOrFailsKeepsTheChanges) {
    drawLine();
    // Untitled: Save turns into Save As, which the user cancels.
    ui.saveAnswers = {SaveAnswer::Yes, SaveAnswer::Yes};
    ui.savePaths = {std::nullopt};
    EXPECT_FALSE(commands.confirmClose());
    EXPECT_FALSE(commands.newModel());
    EXPECT_EQ(model().vertices.size(), 2u);
    EXPECT_EQ(ui.newModelDialogs, 0);
    EXPECT_TRUE(ui.messages.empty());

    // A save that fails is reported and stops the open as well: the drawing's folder is gone.
    std::filesystem::create_directory(folder.path("gone"));
    ASSERT_FALSE(state.editor.saveDocument(folder.file("gone/a.rkm"), "a.rkm").has_value());
    std::filesystem::remove_all(folder.path("gone"));
    drawLine();
    const QString other = savedModel("other.rkm", 8);
    ui.saveAnswers = {SaveAnswer::Yes};
    EXPECT_FALSE(commands.openModelFile(nativePath(other)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("ファイルを保存できませんでした。"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(model().modified);
    EXPECT_EQ(model().displayName, "a.rkm");
    EXPECT_EQ(model().vertices.size(), 4u);
}

TEST_F(DocumentCommandsTest, YesSavesThenCloses) {
    drawLine();
    const QString path = scratchFile("drawing.rkm");
    ui.saveAnswers = {SaveAnswer::Yes};
    ui.savePaths = {path};
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(model().modified);
    EXPECT_EQ(model().displayName, "drawing.rkm");
}

TEST_F(DocumentCommandsTest, NewClearsTheDrawingButKeepsTheHistory) {
    drawLine();
    ASSERT_FALSE(state.editor.saveDocument(folder.file("old.rkm"), "old.rkm").has_value());
    drawLine();
    state.editor.toggleWobble();
    state.exportSettings.waitSeconds = 30;
    ui.saveAnswers = {SaveAnswer::No};

    ASSERT_TRUE(commands.newModel());
    EXPECT_TRUE(model().vertices.empty());
    EXPECT_FALSE(model().modified);
    EXPECT_TRUE(model().displayName.empty());
    EXPECT_TRUE(model().filePath.empty());
    EXPECT_TRUE(state.editor.wobbleEnabled());
    EXPECT_EQ(state.editor.shownVertexCount(), 0);
    EXPECT_EQ(state.exportSettings, ExportSettings{});
    EXPECT_EQ(ui.newModelDialogs, 1);

    // Undo brings the previous drawing back; the document stays untitled.
    ASSERT_TRUE(state.editor.undo());
    EXPECT_EQ(model().vertices.size(), 4u);
    EXPECT_TRUE(model().displayName.empty());
}

TEST_F(DocumentCommandsTest, NewWithoutChangesAsksNothing) {
    ASSERT_TRUE(commands.newModel());
    EXPECT_EQ(ui.saveQuestions, 0);
    EXPECT_EQ(ui.newModelDialogs, 1);
}

TEST_F(DocumentCommandsTest, OpenSetsNameAndStartsReplayBySetting) {
    const QString path = savedModel("face.rkm", 10);
    state.exportSettings.antiAlias = true;

    state.settings.openInVtrMode = true;
    ASSERT_TRUE(commands.openModelFile(nativePath(path)));
    EXPECT_EQ(model().displayName, "face.rkm");
    EXPECT_EQ(model().filePath, path.toStdString());
    EXPECT_EQ(model().properties.lineWidth, 10);
    // The status bar keeps this count while the replay runs.
    EXPECT_EQ(state.editor.shownVertexCount(), 3);
    EXPECT_TRUE(state.editor.replaying());
    EXPECT_EQ(state.exportSettings, ExportSettings{});

    state.settings.openInVtrMode = false;
    ASSERT_TRUE(commands.openModelFile(nativePath(path)));
    EXPECT_FALSE(state.editor.replaying());

    // Cancel at the save question loads nothing; No drops the changes.
    drawLine();
    ui.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
    EXPECT_FALSE(commands.openModelFile(nativePath(path)));
    EXPECT_EQ(model().vertices.size(), 5u);
    EXPECT_TRUE(commands.openModelFile(nativePath(path)));
    EXPECT_EQ(model().vertices.size(), 3u);
    EXPECT_FALSE(model().modified);
}

TEST_F(DocumentCommandsTest, OpenCommandRemembersTheFolderOnlyWhenAFileOpened) {
    const QString path = savedModel("face.rkm", 6);
    ui.openPaths = {std::nullopt, scratchFile("missing.rkm"), path};
    EXPECT_FALSE(commands.open());
    EXPECT_FALSE(commands.open());
    EXPECT_TRUE(state.fileDialog.useInitialFolder);
    ASSERT_TRUE(commands.open());
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
    EXPECT_EQ(model().displayName, "face.rkm");
    EXPECT_EQ(ui.openChoosers, 3);
}

TEST_F(DocumentCommandsTest, OpenReportsWhatIsWrongWithAFileButNotAMissingOne) {
    const std::string notes = folder.file("notes.txt");
    test::writeFileBytes(notes, {'h', 'e', 'l', 'l', 'o'});
    const std::string broken = folder.file("broken.rkm");
    test::writeFileBytes(broken, {'R', 'E', 'K'});
    const Model before = model();

    EXPECT_FALSE(commands.openModelFile(folder.file("missing.rkm")));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(commands.openModelFile(notes));
    EXPECT_FALSE(commands.openModelFile(broken));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("レクモデルファイルではありません。"));
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("正しいレクモデルファイルではありません。"));
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
    EXPECT_EQ(model().displayName, before.displayName);
    EXPECT_EQ(state.editor.historySize(), 1u);
}

TEST_F(DocumentCommandsTest, SaveAsAppendsTheExtensionCaseSensitively) {
    drawLine();
    ui.savePaths = {scratchFile("a"), scratchFile("b.RKM")};
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().displayName, "a.rkm");
    EXPECT_TRUE(QFile::exists(scratchFile("a.rkm")));
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().displayName, "b.RKM.rkm");
    EXPECT_TRUE(QFile::exists(scratchFile("b.RKM.rkm")));
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
    EXPECT_TRUE(ui.overwriteQuestions.empty());
}

TEST_F(DocumentCommandsTest, SaveAsAsksBeforeOverwritingTheFileItReallyWrites) {
    const QString existing = savedModel("c.rkm", 6);
    drawLine();
    ui.savePaths = {scratchFile("c")};
    ui.overwriteAnswer = false;
    EXPECT_FALSE(commands.saveAs());
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui.overwriteQuestions[0], existing);
    EXPECT_TRUE(model().modified);
    EXPECT_TRUE(model().filePath.empty());

    ui.savePaths = {scratchFile("c")};
    ui.overwriteAnswer = true;
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().filePath, existing.toStdString());
    EXPECT_FALSE(model().modified);
}

TEST_F(DocumentCommandsTest, SaveOfANamedModelWritesItsFileWithoutAsking) {
    const QString path = savedModel("named.rkm", 6);
    ASSERT_TRUE(commands.openModelFile(nativePath(path)));
    drawLine();
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(ui.saveChoosers, 0);
    EXPECT_FALSE(model().modified);
    const ModelFileRead read = readModel(path.toStdString());
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).vertices.size(), 5u);
}

TEST_F(DocumentCommandsTest, SavingALegacyFileWritesTheCurrentFormatBesideIt) {
    const std::string legacy = folder.file("old.RK2");
    test::writeFileBytes(legacy, {0, 0, 0, 0});  // a legacy file with no vertices
    ASSERT_TRUE(commands.openModelFile(legacy));
    drawLine();

    ASSERT_TRUE(commands.save());
    EXPECT_EQ(model().filePath, folder.file("old.rkm"));
    EXPECT_EQ(model().displayName, "old.rkm");
    EXPECT_EQ(test::readFileBytes(legacy).size(), 4u);
    EXPECT_TRUE(std::filesystem::exists(folder.path("old.rkm")));
}

TEST_F(DocumentCommandsTest, AReadOnlyFileIsNotSavedOverAndTheChangesStay) {
    const std::filesystem::path own = folder.path("own");
    std::filesystem::create_directory(own);
    test::giveToUnprivileged(own);
    const std::string path = nativePath(test::writeModelFile(own / "read-only.rkm", {}));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    test::giveToUnprivileged(path);
    const std::vector<std::uint8_t> before = test::readFileBytes(path);

    // As an ordinary user, although the folder would allow a rename over the file.
    const std::optional<int> outcome = test::runUnprivileged([&] {
        if (!commands.openModelFile(path))
            return 1;
        test::drawLine(state.editor, {10, 10}, {50, 10});
        if (commands.save())
            return 2;
        if (ui.messages.size() != 1 ||
            ui.messages[0].text != QStringLiteral("ファイルを保存できませんでした。") ||
            ui.messages[0].icon != MessageIcon::Error) {
            return 3;
        }
        return model().modified && model().filePath == path ? 0 : 4;
    });
    ASSERT_TRUE(outcome.has_value()) << "the save could not run as an ordinary user";
    EXPECT_EQ(*outcome, 0);
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_EQ(test::entriesIn(own), 1u);
}

TEST_F(DocumentCommandsTest, ANameThatIsNoValidTextOpensAndSavesUnderItsOwnBytes) {
    const std::string path = folder.file("bad\xff\xfe.rkm");
    test::writeModelFile(path, test::strokes({{{1, 2}, {3, 4}}}));
    ASSERT_TRUE(commands.openModelFile(path));
    EXPECT_EQ(model().filePath, path);
    EXPECT_EQ(QString::fromStdString(model().displayName), QStringLiteral("bad\uFFFD\uFFFD.rkm"));

    drawLine();
    ASSERT_TRUE(commands.save());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(folder.entryCount(), 1u);
    const ModelFileRead read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).vertices.size(), 4u);
}

}  // namespace
}  // namespace rek
