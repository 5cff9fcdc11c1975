// The commands on the editor, and the toolbar states they leave.

#include "shell/editor_commands.h"

#include <gtest/gtest.h>

#include "shell/mode_display.h"
#include "shell_test_support.h"

namespace rek {
namespace {

class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{0, 0}, {100, 0}, {100, 100}}}));
    }

    void run(CommandId command) { ASSERT_TRUE(runEditorCommand(editor, command)); }
    std::size_t vertices() const { return editor.model().vertices.size(); }
    ButtonState button(CommandId id) const {
        return describeModeDisplay(editor, KeyModifiers{}).buttons[static_cast<std::size_t>(id)];
    }

    Editor editor;
};

TEST_F(EditorCommandsTest, SelectionAndHistoryCommandsAreRefusedDuringReplayButRangeSelectIsNot) {
    run(CommandId::DeleteLastVertex);
    ASSERT_EQ(vertices(), 2u);
    run(CommandId::Vtr);
    run(CommandId::SelectAll);
    run(CommandId::InvertSelection);
    EXPECT_FALSE(editor.model().selectionExists);
    run(CommandId::Deselect);
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    run(CommandId::Undo);
    EXPECT_EQ(vertices(), 2u);
    run(CommandId::RangeSelectMode);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_TRUE(editor.replaying());

    run(CommandId::Vtr);
    run(CommandId::Undo);
    EXPECT_EQ(vertices(), 3u);
    run(CommandId::Redo);
    EXPECT_EQ(vertices(), 2u);
}

TEST_F(EditorCommandsTest, MoveScaleAndDeleteNeedASelectionAndADrawingToolEndsIt) {
    EXPECT_FALSE(button(CommandId::MoveSelection).enabled);
    run(CommandId::MoveSelection);
    run(CommandId::ScaleSelection);
    run(CommandId::DeleteLines);
    EXPECT_FALSE(editor.moveMode() || editor.scaleMode());
    EXPECT_EQ(vertices(), 3u);

    run(CommandId::InvertSelection);  // all, in range select
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_TRUE(button(CommandId::DeleteLines).enabled);
    run(CommandId::MoveSelection);
    EXPECT_TRUE(button(CommandId::MoveSelection).checked);
    EXPECT_TRUE(button(CommandId::RangeSelectMode).checked) << "the tool stays checked";
    run(CommandId::ScaleSelection);
    EXPECT_TRUE(editor.scaleMode());
    EXPECT_FALSE(button(CommandId::MoveSelection).checked);
    EXPECT_EQ(editor.scaleFactor(), 1.0f);

    run(CommandId::CurveMode);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_FALSE(editor.scaleMode());
    for (const Vertex& vertex : editor.model().vertices)
        EXPECT_FALSE(vertex.isSelected());
    run(CommandId::Deselect);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);

    run(CommandId::SelectAll);
    run(CommandId::DeleteLines);
    EXPECT_EQ(vertices(), 0u);
    EXPECT_FALSE(button(CommandId::DeleteLines).enabled);
}

}  // namespace
}  // namespace rek
