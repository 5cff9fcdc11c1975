// Keys as the user types them: to the canvas, which holds the focus from start-up on. Every
// key must reach the same command as its toolbar button, also while a replay disables them.

#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "shell/dialogs/properties_dialog.h"

namespace rek {
namespace {

class WindowKeysTest : public test::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        canvas().setFocus();
        ASSERT_TRUE(canvas().hasFocus());
        test::loadDrawing(editor(), test::strokes({{{10, 10}, {60, 10}}, {{60, 60}, {90, 90}}}));
    }

    std::size_t selected() {
        return static_cast<std::size_t>(
            std::count_if(model().vertices.begin(), model().vertices.end(),
                          [](const Vertex& v) { return v.isSelected(); }));
    }
};

TEST_F(WindowKeysTest, ToolSelectionAndSubModeKeys) {
    for (const auto& [key, tool] : {std::pair{Qt::Key_2, ToolMode::Curve},
                                    {Qt::Key_6, ToolMode::FilledCircle},
                                    {Qt::Key_M, ToolMode::RangeSelect},
                                    {Qt::Key_1, ToolMode::StraightLine}}) {
        type(key);
        EXPECT_EQ(editor().toolMode(), tool) << QKeySequence(key).toString().toStdString();
    }
    type(Qt::Key_Y);
    EXPECT_FALSE(editor().wobbleEnabled());

    type(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected(), 4u);
    type(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(selected(), 0u);
    type(Qt::Key_I, Qt::ControlModifier);
    type(Qt::Key_V);
    EXPECT_TRUE(editor().moveMode());
    type(Qt::Key_Z);
    EXPECT_TRUE(editor().scaleMode());
    type(Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(model().selectionExists);
    EXPECT_FALSE(editor().scaleMode());
    type(Qt::Key_Z);
    EXPECT_FALSE(editor().scaleMode()) << "Z alone needs a selection";
    type(Qt::Key_A, Qt::ControlModifier);
    type(Qt::Key_Delete);
    EXPECT_TRUE(model().vertices.empty());
    EXPECT_TRUE(
        test::withModal<PropertiesDialog>([this] { type(Qt::Key_P, Qt::ControlModifier); },
                                          [](PropertiesDialog& dialog) { dialog.reject(); }));
}

TEST_F(WindowKeysTest, HeldKeysRepeatUndoRedoAndDeletionButNoSwitch) {
    // What a held key sends after its first press.
    const auto repeat = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::simulateEvent(&canvas(), true, key, modifiers, QString(), /*repeat=*/true);
        QTest::simulateEvent(&canvas(), false, key, modifiers, QString(), /*repeat=*/true);
    };
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
    EXPECT_EQ(ui.newModelDialogs, 1);
    EXPECT_TRUE(model().vertices.empty());

    ui.openPaths = {test::writeModelFile(folder.path("keys.rkm"), {})};
    type(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(model().displayName, "keys.rkm");

    drawLine({10, 10}, {60, 10});
    type(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ui.saveChoosers, 0) << "a named model is saved over";
    EXPECT_FALSE(model().modified);

    ui.saveAnswers = {SaveAnswer::Cancel};
    drawLine({10, 10}, {60, 10});
    type(Qt::Key_Escape);
    EXPECT_EQ(ui.saveQuestions, 2);
    EXPECT_TRUE(window->isVisible());
    ui.saveAnswers = {SaveAnswer::No};
    type(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << "Escape closes the window after the save question";
}

TEST_F(WindowKeysTest, KeysKeepWorkingWhileAReplayDisablesTheToolbar) {
    type(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(editor().replaying());
    type(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(editor().replaying());
    type(Qt::Key_Return);
    ASSERT_TRUE(editor().replaying());
    ASSERT_FALSE(window->action(CommandId::RangeSelectMode)->isEnabled());
    type(Qt::Key_M);
    EXPECT_EQ(editor().toolMode(), ToolMode::RangeSelect);
    type(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(model().vertices.size(), 2u);
    type(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(model().selectionExists) << "refused by the replay, not by the toolbar";
}

}  // namespace
}  // namespace rek
