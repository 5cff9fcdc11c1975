// Keys as the user types them: to the canvas, which holds the focus from start-up on. Every
// key must reach the same command as its toolbar button.

#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>

#include "main_window_fixture.h"
#include "shell/command_table.h"
#include "shell/dialogs/properties_dialog.h"

namespace rek {
namespace {

class WindowKeysTest : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        canvas().setFocus();
        ASSERT_TRUE(canvas().hasFocus());
    }

    void loadTwoLines() {
        test::loadDrawing(editor(), test::strokes({{{10, 10}, {60, 10}}, {{60, 60}, {90, 90}}}));
    }

    int selectedCount() {
        return static_cast<int>(std::count_if(model().vertices.begin(), model().vertices.end(),
                                              [](const Vertex& v) { return v.isSelected(); }));
    }
};

TEST_F(WindowKeysTest, NumberKeysChooseTheDrawingTools) {
    const std::pair<Qt::Key, ToolMode> keys[] = {
        {Qt::Key_2, ToolMode::Curve},        {Qt::Key_3, ToolMode::Rect},
        {Qt::Key_4, ToolMode::Circle},       {Qt::Key_5, ToolMode::FilledRect},
        {Qt::Key_6, ToolMode::FilledCircle}, {Qt::Key_M, ToolMode::RangeSelect},
        {Qt::Key_1, ToolMode::StraightLine},
    };
    for (const auto& [key, tool] : keys) {
        type(key);
        EXPECT_EQ(editor().toolMode(), tool) << QKeySequence(key).toString().toStdString();
        EXPECT_TRUE(window->action(commandForTool(tool).id)->isChecked());
    }
    type(Qt::Key_Y);
    EXPECT_FALSE(editor().wobbleEnabled());
    EXPECT_FALSE(window->action(CommandId::Wobble)->isChecked());
}

TEST_F(WindowKeysTest, SelectionKeys) {
    loadTwoLines();
    type(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor().toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(selectedCount(), 4);
    type(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(selectedCount(), 0);
    type(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(selectedCount(), 4);
    type(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(selectedCount(), 0);
    EXPECT_FALSE(model().selectionExists);
    EXPECT_EQ(editor().toolMode(), ToolMode::RangeSelect);
}

TEST_F(WindowKeysTest, SubModeAndDeleteKeysActOnTheSelection) {
    loadTwoLines();
    type(Qt::Key_V);
    EXPECT_FALSE(editor().moveMode()) << "nothing selected yet";
    type(Qt::Key_A, Qt::ControlModifier);
    type(Qt::Key_V);
    EXPECT_TRUE(editor().moveMode());
    EXPECT_TRUE(window->action(CommandId::MoveSelection)->isChecked());
    type(Qt::Key_Z);
    EXPECT_TRUE(editor().scaleMode());
    EXPECT_FALSE(editor().moveMode());
    type(Qt::Key_Delete);
    EXPECT_TRUE(model().vertices.empty());
    EXPECT_FALSE(editor().scaleMode());
}

TEST_F(WindowKeysTest, HistoryKeysStepThroughTheEdits) {
    drawLine({10, 10}, {60, 10});
    drawLine({60, 60}, {90, 90});
    ASSERT_EQ(model().vertices.size(), 4u);
    type(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(model().vertices.size(), 2u);
    type(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model().vertices.size(), 4u);
    type(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(model().vertices.size(), 2u);
    // Z alone is the scale command, which needs a selection: nothing happens.
    type(Qt::Key_Z);
    EXPECT_EQ(model().vertices.size(), 2u);
    EXPECT_FALSE(editor().scaleMode());
}

TEST_F(WindowKeysTest, HeldKeysRepeatUndoRedoAndDeletionButNoSwitch) {
    // What a held key sends after its first press.
    const auto repeat = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::simulateEvent(&canvas(), true, key, modifiers, QString(), /*repeat=*/true);
        QTest::simulateEvent(&canvas(), false, key, modifiers, QString(), /*repeat=*/true);
    };
    drawLine({10, 10}, {60, 10});
    drawLine({60, 60}, {90, 90});
    drawLine({100, 100}, {150, 100});
    repeat(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(model().vertices.size(), 4u);
    repeat(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(model().vertices.size(), 6u);
    repeat(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(model().vertices.size(), 4u);

    repeat(Qt::Key_Y, Qt::NoModifier);
    EXPECT_TRUE(editor().wobbleEnabled());
    repeat(Qt::Key_Return, Qt::NoModifier);
    EXPECT_FALSE(editor().replaying());
    repeat(Qt::Key_2, Qt::NoModifier);
    EXPECT_EQ(editor().toolMode(), ToolMode::StraightLine);
}

TEST_F(WindowKeysTest, FileKeysRunTheDocumentCommands) {
    drawLine({10, 10}, {60, 10});
    ui.saveAnswers = {SaveAnswer::No};
    type(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui.saveQuestions, 1);
    EXPECT_EQ(ui.newModelDialogs, 1);
    EXPECT_TRUE(model().vertices.empty());

    const QString path =
        test::writeModelFile(folder.path("keys.rkm"), test::strokes({{{1, 1}, {30, 30}}}));
    ui.openPaths = {path};
    type(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(ui.openChoosers, 1);
    EXPECT_EQ(model().displayName, "keys.rkm");

    type(Qt::Key_N, Qt::ControlModifier);
    drawLine({10, 10}, {60, 10});
    ui.savePaths = {QString::fromStdString(folder.file("typed"))};
    type(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.saveChoosers, 1);
    EXPECT_EQ(model().displayName, "typed.rkm");
    EXPECT_FALSE(model().modified);
}

TEST_F(WindowKeysTest, CtrlPOpensTheProperties) {
    EXPECT_TRUE(
        test::withModal<PropertiesDialog>([this] { type(Qt::Key_P, Qt::ControlModifier); },
                                          [](PropertiesDialog& dialog) { dialog.reject(); }));
}

TEST_F(WindowKeysTest, EnterOnTheKeypadAndReturnSwitchTheReplay) {
    loadTwoLines();
    type(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(editor().replaying());
    EXPECT_TRUE(window->action(CommandId::Vtr)->isChecked());
    type(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(editor().replaying());
    type(Qt::Key_Return);
    EXPECT_TRUE(editor().replaying());
}

TEST_F(WindowKeysTest, KeysKeepWorkingWhileAReplayDisablesTheToolbar) {
    loadTwoLines();
    type(Qt::Key_Return);
    ASSERT_FALSE(window->action(CommandId::RangeSelectMode)->isEnabled());
    type(Qt::Key_M);
    EXPECT_EQ(editor().toolMode(), ToolMode::RangeSelect);
    type(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(model().vertices.size(), 2u);
    type(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(model().selectionExists) << "refused by the replay, not by the toolbar";
}

TEST_F(WindowKeysTest, EscapeClosesTheWindowAfterTheSaveQuestion) {
    drawLine({10, 10}, {60, 10});
    ui.saveAnswers = {SaveAnswer::Cancel};
    type(Qt::Key_Escape);
    EXPECT_EQ(ui.saveQuestions, 1);
    EXPECT_TRUE(window->isVisible());
    ui.saveAnswers = {SaveAnswer::No};
    type(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace rek
