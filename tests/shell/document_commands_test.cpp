#include "shell/document_commands.h"

#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>

#include "fake_document_ui.h"
#include "file_helpers.h"
#include "scratch_folder.h"
#include "shell/native_path.h"
#include "shell/text/messages.h"
#include "shell_test_support.h"
#include "unprivileged.h"

namespace rek {
namespace {

class DocumentCommandsTest : public ::testing::Test {
  protected:
    // Drawing after an open needs no replay in the way.
    DocumentCommandsTest() { state.settings.openInVtrMode = false; }

    // A drawing with one more line, changed since it was last saved.
    void drawLine() { test::drawLine(state.editor, {10, 10}, {50, 10}); }

    // A model of three vertices with the given line width, saved in the scratch folder.
    QString savedModel(const std::string& name, std::int32_t lineWidth = 6) {
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

TEST_F(DocumentCommandsTest, CloseAsksOnlyWhenModifiedAndYesSavesFirst) {
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_EQ(ui.saveQuestions, 0);
    drawLine();
    ui.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No, SaveAnswer::Yes};
    EXPECT_FALSE(commands.confirmClose());
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_TRUE(model().modified) << "No drops the changes only by going on";
    ui.savePaths = {scratchFile("drawing.rkm")};
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_TRUE(QFile::exists(scratchFile("drawing.rkm")));
    EXPECT_FALSE(model().modified);
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

    // A save that fails is reported and stops the open as well: the drawing's folder is gone.
    std::filesystem::create_directory(folder.path("gone"));
    ASSERT_FALSE(state.editor.saveDocument(folder.file("gone/a.rkm"), "a.rkm").has_value());
    std::filesystem::remove_all(folder.path("gone"));
    drawLine();
    ui.saveAnswers = {SaveAnswer::Yes};
    EXPECT_FALSE(commands.openModelFile(nativePath(savedModel("other.rkm"))));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, messages::modelFileError(ModelFileError::WriteFailed).text);
    EXPECT_TRUE(model().modified);
    EXPECT_EQ(model().vertices.size(), 4u);
}

TEST_F(DocumentCommandsTest, NewClearsTheDrawingButKeepsTheHistory) {
    drawLine();
    ASSERT_FALSE(state.editor.saveDocument(folder.file("old.rkm"), "old.rkm").has_value());
    drawLine();
    state.exportSettings.waitSeconds = 30;
    ui.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(commands.newModel());
    EXPECT_TRUE(model().vertices.empty());
    EXPECT_FALSE(model().modified);
    EXPECT_TRUE(model().filePath.empty());
    EXPECT_EQ(state.editor.shownVertexCount(), 0);
    EXPECT_EQ(state.exportSettings, ExportSettings{});
    EXPECT_EQ(ui.newModelDialogs, 1);
    // Undo brings the previous drawing back; the document stays untitled.
    ASSERT_TRUE(state.editor.undo());
    EXPECT_EQ(model().vertices.size(), 4u);
    EXPECT_TRUE(model().displayName.empty());
}

TEST_F(DocumentCommandsTest, OpenSetsNameAndStartsReplayBySetting) {
    const QString path = savedModel("face.rkm", 10);
    state.exportSettings.antiAlias = true;
    state.settings.openInVtrMode = true;
    ASSERT_TRUE(commands.openModelFile(nativePath(path)));
    EXPECT_EQ(model().displayName, "face.rkm");
    EXPECT_EQ(model().properties.lineWidth, 10);
    // The status bar keeps this count while the replay runs.
    EXPECT_EQ(state.editor.shownVertexCount(), 3);
    EXPECT_TRUE(state.editor.replaying());
    EXPECT_EQ(state.exportSettings, ExportSettings{});
}

TEST_F(DocumentCommandsTest, OpenReportsWhatIsWrongWithAFileButNotAMissingOne) {
    test::writeFileBytes(folder.path("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
    test::writeFileBytes(folder.path("broken.rkm"), {'R', 'E', 'K'});
    ui.openPaths = {std::nullopt, scratchFile("missing.rkm"), scratchFile("notes.txt"),
                    scratchFile("broken.rkm")};
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(commands.open());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, messages::modelFileError(ModelFileError::NotModelFile).text);
    EXPECT_EQ(ui.messages[1].text, messages::modelFileError(ModelFileError::Invalid).text);
    EXPECT_EQ(state.editor.historySize(), 1u);
    // The chooser starts in the first folder until a file opened.
    EXPECT_TRUE(state.fileDialog.useInitialFolder);
    ui.openPaths = {savedModel("face.rkm")};
    ASSERT_TRUE(commands.open());
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
}

TEST_F(DocumentCommandsTest, SaveAsAppendsTheExtensionAndAsksBeforeOverwritingWhatItWrites) {
    drawLine();
    ui.savePaths = {scratchFile("a"), scratchFile("b.RKM")};
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().displayName, "a.rkm");
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().displayName, "b.RKM.rkm") << "the extension is case-sensitive";
    EXPECT_TRUE(QFile::exists(scratchFile("b.RKM.rkm")));
    EXPECT_TRUE(ui.overwriteQuestions.empty());

    const QString existing = savedModel("c.rkm");
    drawLine();
    ui.savePaths = {scratchFile("c"), scratchFile("c")};
    ui.overwriteAnswer = false;
    EXPECT_FALSE(commands.saveAs());
    EXPECT_EQ(ui.overwriteQuestions, std::vector<QString>{existing});
    EXPECT_TRUE(model().modified);
    ui.overwriteAnswer = true;
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(model().filePath, existing.toStdString());
}

TEST_F(DocumentCommandsTest, SavingALegacyFileWritesTheCurrentFormatBesideIt) {
    const std::string legacy = folder.file("old.RK2");
    test::writeFileBytes(legacy, {0, 0, 0, 0});  // a legacy file with no vertices
    ASSERT_TRUE(commands.openModelFile(legacy));
    drawLine();
    ASSERT_TRUE(commands.save());
    EXPECT_EQ(model().filePath, folder.file("old.rkm"));
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
        drawLine();
        if (commands.save())
            return 2;
        if (ui.messages.size() != 1 || ui.messages[0].icon != MessageIcon::Error)
            return 3;
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
    EXPECT_EQ(QString::fromStdString(model().displayName), QStringLiteral("bad\uFFFD\uFFFD.rkm"));
    drawLine();
    ASSERT_TRUE(commands.save());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.saveChoosers, 0);
    EXPECT_EQ(folder.entryCount(), 1u);
    const ModelFileRead read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(std::get<ModelFileContents>(read).vertices.size(), 4u);
}

}  // namespace
}  // namespace rek
