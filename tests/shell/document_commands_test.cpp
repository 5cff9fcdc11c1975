#include "shell/document_commands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fake_document_ui.h"
#include "model/model_file.h"

namespace rek {
namespace {

class DocumentCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state.editor.history.recordSnapshot(state.editor.model);
    }

    // A drawing with one line, changed since it was last saved.
    void drawLine() {
        appendVertex(state.editor.model, 10, 10, false);
        appendVertex(state.editor.model, 50, 10, true);
        ASSERT_TRUE(state.editor.model.modified);
    }

    QString savedModel(const QString& name, std::int32_t lineWidth) {
        Model other;
        other.properties.lineWidth = lineWidth;
        appendVertex(other, 1, 2, false);
        appendVertex(other, 3, 4, true);
        appendVertex(other, 5, 6, true);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(saveModel(other, path.toStdString()).ok);
        return path;
    }

    QTemporaryDir dir;
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
}

TEST_F(DocumentCommandsTest, YesWhoseSaveIsCancelledOrFailsKeepsTheChanges) {
    drawLine();
    // Untitled: Save turns into Save As, which the user cancels.
    ui.saveAnswers = {SaveAnswer::Yes, SaveAnswer::Yes, SaveAnswer::Yes};
    ui.savePaths = {std::nullopt};
    EXPECT_FALSE(commands.confirmClose());
    EXPECT_FALSE(commands.newModel());
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
    EXPECT_EQ(ui.newModelDialogs, 0);

    // A save that fails is reported and stops the open as well.
    state.editor.model.filePath = dir.filePath("missing-folder/a.rkm").toStdString();
    state.editor.model.displayName = "a.rkm";
    const QString other = savedModel("other.rkm", 8);
    EXPECT_FALSE(commands.openModelFile("other.rkm", other));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "ファイルを保存できませんでした。");
    EXPECT_TRUE(state.editor.model.modified);
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
}

TEST_F(DocumentCommandsTest, YesSavesThenCloses) {
    drawLine();
    const QString path = dir.filePath("drawing.rkm");
    ui.saveAnswers = {SaveAnswer::Yes};
    ui.savePaths = {path};
    EXPECT_TRUE(commands.confirmClose());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_FALSE(state.editor.model.modified);
}

TEST_F(DocumentCommandsTest, NewClearsTheDrawingButKeepsTheHistory) {
    drawLine();
    state.editor.history.recordSnapshot(state.editor.model);
    state.editor.model.displayName = "old.rkm";
    state.editor.model.filePath = "/tmp/old.rkm";
    state.editor.wobbleEnabled = false;
    state.exportSettings.waitSeconds = 30;
    ui.saveAnswers = {SaveAnswer::No};

    ASSERT_TRUE(commands.newModel());
    const EditorState& editor = state.editor;
    EXPECT_TRUE(editor.model.vertices.empty());
    EXPECT_FALSE(editor.model.modified);
    EXPECT_TRUE(editor.model.displayName.empty());
    EXPECT_TRUE(editor.model.filePath.empty());
    EXPECT_TRUE(editor.wobbleEnabled);
    EXPECT_EQ(state.exportSettings, ExportSettings{});
    EXPECT_EQ(ui.newModelDialogs, 1);
    EXPECT_EQ(ui.framesPresented, 1);

    // Undo brings the previous drawing back; the document stays untitled.
    ToolState tool;
    state.editor.history.undo(state.editor.model, tool);
    EXPECT_EQ(editor.model.vertices.size(), 2u);
    EXPECT_TRUE(editor.model.displayName.empty());
}

TEST_F(DocumentCommandsTest, OpenSetsNameAndStartsReplayBySetting) {
    const QString path = savedModel("face.rkm", 10);
    state.exportSettings.antiAlias = true;

    state.settings.openInVtrMode = true;
    ASSERT_TRUE(commands.openModelFile("face.rkm", path));
    EXPECT_EQ(state.editor.model.displayName, "face.rkm");
    EXPECT_EQ(state.editor.model.filePath, path.toStdString());
    EXPECT_EQ(state.editor.model.properties.lineWidth, 10);
    // The status bar keeps this count while the replay runs.
    EXPECT_EQ(state.editor.drawnVertexCount, 3);
    EXPECT_TRUE(state.editor.playback.vtrPlaying);
    EXPECT_EQ(state.exportSettings, ExportSettings{});

    state.settings.openInVtrMode = false;
    ASSERT_TRUE(commands.openModelFile("face.rkm", path));
    EXPECT_FALSE(state.editor.playback.vtrPlaying);

    // Cancel at the save question loads nothing; No drops the changes.
    drawLine();
    ui.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::No};
    EXPECT_FALSE(commands.openModelFile("face.rkm", path));
    EXPECT_EQ(state.editor.model.vertices.size(), 5u);
    EXPECT_TRUE(commands.openModelFile("face.rkm", path));
    EXPECT_EQ(state.editor.model.vertices.size(), 3u);
    EXPECT_FALSE(state.editor.model.modified);
}

TEST_F(DocumentCommandsTest, OpenReportsFilesThatAreNoModel) {
    const QString path = dir.filePath("notes.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello");
    file.close();
    EXPECT_FALSE(commands.openModelFile("notes.txt", path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "レクモデルファイルではありません。");
}

TEST_F(DocumentCommandsTest, SaveAsAppendsTheExtensionCaseSensitively) {
    drawLine();
    ui.savePaths = {dir.filePath("a"), dir.filePath("b.RKM")};
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(state.editor.model.displayName, "a.rkm");
    EXPECT_TRUE(QFile::exists(dir.filePath("a.rkm")));
    ASSERT_TRUE(commands.saveAs());
    EXPECT_EQ(state.editor.model.displayName, "b.RKM.rkm");
    EXPECT_TRUE(QFile::exists(dir.filePath("b.RKM.rkm")));
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
}

TEST_F(DocumentCommandsTest, SaveAsAsksBeforeOverwritingTheFileItReallyWrites) {
    const QString existing = savedModel("c.rkm", 6);
    drawLine();
    ui.savePaths = {dir.filePath("c")};
    ui.overwriteAnswer = false;
    EXPECT_FALSE(commands.saveAs());
    ASSERT_EQ(ui.overwriteQuestions.size(), 1u);
    EXPECT_EQ(ui.overwriteQuestions[0], existing);
    EXPECT_TRUE(state.editor.model.modified);
}

TEST_F(DocumentCommandsTest, SavingALegacyFileWritesTheCurrentFormatBesideIt) {
    const QString legacy = dir.filePath("old.RK2");
    QFile file(legacy);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4, '\0'));  // a legacy file with no vertices
    file.close();
    ASSERT_TRUE(commands.openModelFile("old.RK2", legacy));
    drawLine();

    ASSERT_TRUE(commands.save());
    EXPECT_EQ(state.editor.model.filePath, dir.filePath("old.rkm").toStdString());
    EXPECT_EQ(state.editor.model.displayName, "old.rkm");
    EXPECT_EQ(QFileInfo(legacy).size(), 4);
    EXPECT_TRUE(QFile::exists(dir.filePath("old.rkm")));
}

}  // namespace
}  // namespace rek
