#include "shell/editor_commands.h"

#include <gtest/gtest.h>

#include "model/selection.h"

namespace rek {
namespace {

class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Model& model = editor.model;
        appendVertex(model, 0, 0, false);
        appendVertex(model, 100, 0, true);
        appendVertex(model, 100, 100, true);
        editor.history.recordSnapshot(model);
    }

    void run(CommandId command) { ASSERT_TRUE(runEditorCommand(editor, command).has_value()); }

    EditorState editor;
};

TEST_F(EditorCommandsTest, SelectionCommandsAreRefusedDuringReplayButRangeSelectIsNot) {
    run(CommandId::Vtr);
    ASSERT_TRUE(editor.playback.vtrPlaying);

    run(CommandId::SelectAll);
    EXPECT_FALSE(editor.model.selectionExists);
    EXPECT_EQ(editor.tool.mode, ToolMode::StraightLine);
    run(CommandId::InvertSelection);
    EXPECT_FALSE(editor.model.selectionExists);
    run(CommandId::Deselect);
    EXPECT_EQ(editor.tool.mode, ToolMode::StraightLine);

    run(CommandId::RangeSelectMode);
    EXPECT_EQ(editor.tool.mode, ToolMode::RangeSelect);

    run(CommandId::DeleteLastVertex);
    EXPECT_EQ(editor.model.vertices.size(), 2u);
}

TEST_F(EditorCommandsTest, UndoAndRedoAreIgnoredDuringReplay) {
    run(CommandId::DeleteLastVertex);
    ASSERT_EQ(editor.model.vertices.size(), 2u);
    run(CommandId::Vtr);
    run(CommandId::Undo);
    EXPECT_EQ(editor.model.vertices.size(), 2u);
    run(CommandId::Vtr);
    ASSERT_FALSE(editor.playback.vtrPlaying);
    run(CommandId::Undo);
    EXPECT_EQ(editor.model.vertices.size(), 3u);
    run(CommandId::Redo);
    EXPECT_EQ(editor.model.vertices.size(), 2u);
}

TEST_F(EditorCommandsTest, MoveScaleAndDeleteNeedASelectionInRangeSelect) {
    run(CommandId::MoveSelection);
    run(CommandId::ScaleSelection);
    run(CommandId::DeleteLines);
    EXPECT_FALSE(editor.tool.moveMode);
    EXPECT_FALSE(editor.tool.scaleMode);
    EXPECT_EQ(editor.model.vertices.size(), 3u);

    run(CommandId::SelectAll);
    ASSERT_EQ(editor.tool.mode, ToolMode::RangeSelect);
    run(CommandId::MoveSelection);
    EXPECT_TRUE(editor.tool.moveMode);
    run(CommandId::ScaleSelection);
    EXPECT_TRUE(editor.tool.scaleMode);
    EXPECT_FALSE(editor.tool.moveMode);
    EXPECT_EQ(editor.tool.scaleFactor, 1.0f);

    run(CommandId::DeleteLines);
    EXPECT_TRUE(editor.model.vertices.empty());
    EXPECT_FALSE(editor.model.selectionExists);
}

TEST_F(EditorCommandsTest, ChoosingADrawingToolEndsTheSelection) {
    run(CommandId::SelectAll);
    run(CommandId::MoveSelection);
    run(CommandId::CurveMode);
    EXPECT_EQ(editor.tool.mode, ToolMode::Curve);
    EXPECT_FALSE(editor.model.selectionExists);
    EXPECT_FALSE(editor.tool.moveMode);
    for (const Vertex& vertex : editor.model.vertices)
        EXPECT_FALSE(vertex.isSelected());
}

TEST_F(EditorCommandsTest, WobbleTogglesAndFileCommandsAreLeftToTheWindow) {
    run(CommandId::Wobble);
    EXPECT_FALSE(editor.wobbleEnabled);
    run(CommandId::Wobble);
    EXPECT_TRUE(editor.wobbleEnabled);
    for (CommandId command : {CommandId::New, CommandId::Open, CommandId::Save, CommandId::SaveAs,
                              CommandId::ExportGif, CommandId::Properties}) {
        EXPECT_FALSE(runEditorCommand(editor, command).has_value());
    }
}

TEST_F(EditorCommandsTest, UndoReportsACanvasSizeChange) {
    applyCanvasSize(editor.model, 300, 200);
    editor.history.recordSnapshot(editor.model);
    const auto outcome = runEditorCommand(editor, CommandId::Undo);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(outcome->canvasSizeChanged);
    EXPECT_EQ(editor.model.properties.width, 800);
}

}  // namespace
}  // namespace rek
