#include "shell/editor_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell_test_support.h"

namespace rek {
namespace {

class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{0, 0}, {100, 0}, {100, 100}}}));
    }

    void run(CommandId command) { ASSERT_TRUE(runEditorCommand(editor, command)); }

    Editor editor;
};

TEST_F(EditorCommandsTest, EachToolCommandChoosesItsTool) {
    const std::pair<CommandId, ToolMode> tools[] = {
        {CommandId::CurveMode, ToolMode::Curve},
        {CommandId::RectMode, ToolMode::Rect},
        {CommandId::CircleMode, ToolMode::Circle},
        {CommandId::FilledRectMode, ToolMode::FilledRect},
        {CommandId::FilledCircleMode, ToolMode::FilledCircle},
        {CommandId::RangeSelectMode, ToolMode::RangeSelect},
        {CommandId::StraightLineMode, ToolMode::StraightLine},
    };
    for (const auto& [command, tool] : tools) {
        run(command);
        EXPECT_EQ(editor.toolMode(), tool) << static_cast<int>(command);
    }
}

TEST_F(EditorCommandsTest, SelectionCommandsAreRefusedDuringReplayButRangeSelectIsNot) {
    run(CommandId::Vtr);
    ASSERT_TRUE(editor.replaying());

    run(CommandId::SelectAll);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    run(CommandId::InvertSelection);
    EXPECT_FALSE(editor.model().selectionExists);
    run(CommandId::Deselect);
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);

    run(CommandId::RangeSelectMode);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);

    run(CommandId::DeleteLastVertex);
    EXPECT_EQ(editor.model().vertices.size(), 2u);
    EXPECT_TRUE(editor.replaying());
}

TEST_F(EditorCommandsTest, UndoAndRedoAreIgnoredDuringReplay) {
    run(CommandId::DeleteLastVertex);
    ASSERT_EQ(editor.model().vertices.size(), 2u);
    run(CommandId::Vtr);
    run(CommandId::Undo);
    EXPECT_EQ(editor.model().vertices.size(), 2u);
    run(CommandId::Vtr);
    ASSERT_FALSE(editor.replaying());
    run(CommandId::Undo);
    EXPECT_EQ(editor.model().vertices.size(), 3u);
    run(CommandId::Redo);
    EXPECT_EQ(editor.model().vertices.size(), 2u);
}

TEST_F(EditorCommandsTest, MoveScaleAndDeleteNeedASelectionInRangeSelect) {
    run(CommandId::MoveSelection);
    run(CommandId::ScaleSelection);
    run(CommandId::DeleteLines);
    EXPECT_FALSE(editor.moveMode());
    EXPECT_FALSE(editor.scaleMode());
    EXPECT_EQ(editor.model().vertices.size(), 3u);

    run(CommandId::SelectAll);
    ASSERT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    run(CommandId::MoveSelection);
    EXPECT_TRUE(editor.moveMode());
    run(CommandId::ScaleSelection);
    EXPECT_TRUE(editor.scaleMode());
    EXPECT_FALSE(editor.moveMode());
    EXPECT_EQ(editor.scaleFactor(), 1.0f);

    run(CommandId::DeleteLines);
    EXPECT_TRUE(editor.model().vertices.empty());
    EXPECT_FALSE(editor.model().selectionExists);
}

TEST_F(EditorCommandsTest, DeselectAndInvertEndInRangeSelect) {
    run(CommandId::InvertSelection);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_TRUE(editor.model().selectionExists);
    run(CommandId::InvertSelection);
    EXPECT_FALSE(editor.model().selectionExists);

    run(CommandId::SelectAll);
    run(CommandId::CurveMode);
    run(CommandId::Deselect);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_FALSE(editor.model().selectionExists);
}

TEST_F(EditorCommandsTest, ChoosingADrawingToolEndsTheSelection) {
    run(CommandId::SelectAll);
    run(CommandId::MoveSelection);
    run(CommandId::CurveMode);
    EXPECT_EQ(editor.toolMode(), ToolMode::Curve);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_FALSE(editor.moveMode());
    for (const Vertex& vertex : editor.model().vertices)
        EXPECT_FALSE(vertex.isSelected());
}

TEST_F(EditorCommandsTest, WobbleTogglesAndTheWindowsCommandsAreLeftToIt) {
    run(CommandId::Wobble);
    EXPECT_FALSE(editor.wobbleEnabled());
    run(CommandId::Wobble);
    EXPECT_TRUE(editor.wobbleEnabled());
    const std::size_t entries = editor.historySize();
    for (CommandId command :
         {CommandId::New, CommandId::Open, CommandId::Save, CommandId::SaveAs, CommandId::ExportGif,
          CommandId::ExportBmp, CommandId::Properties, CommandId::Settings, CommandId::About}) {
        EXPECT_FALSE(runEditorCommand(editor, command)) << static_cast<int>(command);
    }
    EXPECT_EQ(editor.model().vertices.size(), 3u);
    EXPECT_EQ(editor.historySize(), entries);
}

TEST_F(EditorCommandsTest, UndoReportsACanvasSizeChange) {
    ModelProperties smaller = editor.model().properties;
    smaller.width = 300;
    smaller.height = 200;
    editor.acceptProperties(smaller, /*recordSnapshot=*/true);

    std::vector<EditorChanges> reports;
    QObject receiver;
    QObject::connect(&editor, &Editor::changed, &receiver,
                     [&reports](const EditorChanges& changes) { reports.push_back(changes); });
    run(CommandId::Undo);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].canvasSize);
    EXPECT_EQ(editor.model().properties.width, 800);
    EXPECT_EQ(editor.model().properties.height, 600);
}

}  // namespace
}  // namespace rek
