#include "shell/mode_display.h"

#include <gtest/gtest.h>

#include "shell/command_table.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::strokes;

ButtonState at(const ModeDisplay& display, CommandId id) {
    return display.buttons[static_cast<std::size_t>(id)];
}

ModeDisplay displayOf(const Editor& editor) {
    return describeModeDisplay(editor, KeyModifiers{});
}

const CommandId kToolCommands[] = {
    CommandId::StraightLineMode, CommandId::CurveMode,      CommandId::RectMode,
    CommandId::CircleMode,       CommandId::FilledRectMode, CommandId::FilledCircleMode,
    CommandId::RangeSelectMode,
};

TEST(ToolbarButtonStates, ExactlyTheButtonOfTheToolInUseIsChecked) {
    Editor editor;
    for (int mode = 0; mode < kToolModeCount; ++mode) {
        editor.setToolMode(static_cast<ToolMode>(mode));
        const ModeDisplay display = displayOf(editor);
        for (CommandId command : kToolCommands) {
            EXPECT_EQ(at(display, command).checked,
                      commandInfo(command).tool == static_cast<ToolMode>(mode))
                << "tool " << mode << ", button " << static_cast<int>(command);
        }
    }
}

TEST(ToolbarButtonStates, ChecksFollowSubModesReplayAndWobble) {
    Editor editor;
    test::loadDrawing(editor, strokes({{{10, 10}, {90, 10}}}));
    ModeDisplay display = displayOf(editor);
    EXPECT_TRUE(at(display, CommandId::Wobble).checked);
    EXPECT_FALSE(at(display, CommandId::Vtr).checked);
    EXPECT_FALSE(at(display, CommandId::MoveSelection).checked);
    EXPECT_FALSE(at(display, CommandId::ScaleSelection).checked);

    editor.selectAll();
    ASSERT_TRUE(editor.toggleMoveMode());
    display = displayOf(editor);
    EXPECT_TRUE(at(display, CommandId::MoveSelection).checked);
    EXPECT_FALSE(at(display, CommandId::ScaleSelection).checked);
    EXPECT_TRUE(at(display, CommandId::RangeSelectMode).checked) << "the tool stays checked";

    ASSERT_TRUE(editor.toggleScaleMode());
    display = displayOf(editor);
    EXPECT_FALSE(at(display, CommandId::MoveSelection).checked);
    EXPECT_TRUE(at(display, CommandId::ScaleSelection).checked);

    editor.toggleWobble();
    editor.toggleReplay();
    display = displayOf(editor);
    EXPECT_FALSE(at(display, CommandId::Wobble).checked);
    EXPECT_TRUE(at(display, CommandId::Vtr).checked);
}

TEST(ToolbarButtonStates, SelectionAndHistoryEnableTheirButtons) {
    Editor editor;
    ModeDisplay display = displayOf(editor);
    EXPECT_FALSE(at(display, CommandId::MoveSelection).enabled);
    EXPECT_FALSE(at(display, CommandId::ScaleSelection).enabled);
    EXPECT_FALSE(at(display, CommandId::DeleteLines).enabled);
    EXPECT_FALSE(at(display, CommandId::Undo).enabled);
    EXPECT_FALSE(at(display, CommandId::Redo).enabled);
    EXPECT_TRUE(at(display, CommandId::New).enabled);
    EXPECT_TRUE(at(display, CommandId::SelectAll).enabled);

    // Select all on an empty drawing is enough to enable move, scale and delete; a sub-mode
    // does not take the toolbar away.
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    display = displayOf(editor);
    EXPECT_TRUE(at(display, CommandId::MoveSelection).enabled);
    EXPECT_TRUE(at(display, CommandId::ScaleSelection).enabled);
    EXPECT_TRUE(at(display, CommandId::DeleteLines).enabled);
    EXPECT_TRUE(at(display, CommandId::Open).enabled);
    EXPECT_FALSE(at(display, CommandId::Undo).enabled);

    editor.setToolMode(ToolMode::StraightLine);
    test::drawLine(editor, {10, 10}, {50, 50});
    display = displayOf(editor);
    EXPECT_FALSE(at(display, CommandId::MoveSelection).enabled) << "the selection ended";
    EXPECT_TRUE(at(display, CommandId::Undo).enabled);
    EXPECT_FALSE(at(display, CommandId::Redo).enabled);
    ASSERT_TRUE(editor.undo());
    display = displayOf(editor);
    EXPECT_FALSE(at(display, CommandId::Undo).enabled);
    EXPECT_TRUE(at(display, CommandId::Redo).enabled);
}

TEST(ToolbarButtonStates, ReplayLeavesOnlyVtrAboutSettingsAndTheHistory) {
    Editor editor;
    test::loadDrawing(editor, strokes({{{0, 0}, {300, 0}, {300, 100}}}));
    test::drawLine(editor, {0, 200}, {10, 200});
    ASSERT_TRUE(editor.undo());  // something to redo, nothing to undo
    editor.selectAll();
    ASSERT_TRUE(editor.model().selectionExists);

    editor.toggleReplay();
    ModeDisplay display = displayOf(editor);
    for (int id = 0; id < kCommandCount; ++id) {
        const auto command = static_cast<CommandId>(id);
        const bool expected = command == CommandId::Vtr || command == CommandId::About ||
                              command == CommandId::Settings || command == CommandId::Redo;
        EXPECT_EQ(display.buttons[static_cast<std::size_t>(id)].enabled, expected) << id;
    }
    EXPECT_TRUE(display.progressVisible);
    EXPECT_EQ(display.progressMaximum, 400u);

    // When the replay ends, with a sub-mode still on, the toolbar comes back.
    editor.toggleReplay();
    ASSERT_TRUE(editor.toggleMoveMode());
    display = displayOf(editor);
    EXPECT_TRUE(at(display, CommandId::New).enabled);
    EXPECT_TRUE(at(display, CommandId::DeleteLines).enabled);
    EXPECT_FALSE(display.progressVisible);
    EXPECT_EQ(display.progressMaximum, 0u);
}

}  // namespace
}  // namespace rek
