#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

// changed(): once at the end of every operation that altered what the window shows, with what
// it altered, and not at all otherwise.
class EditorChangesTest : public ::testing::Test {
  protected:
    void at(Point p) { editor.samplePointer(p); }

    Editor editor{test::canvasOfSize(400, 300)};
    test::ChangeLog log{editor};
    FrameRenderer renderer;
};

TEST_F(EditorChangesTest, StrokesReportTheMarkAndTheUndoOnlyWhenTheyFirstAppear) {
    at({10, 10});
    editor.pressLeft({});
    EXPECT_EQ(log.takeOne(), "title");
    at({40, 10});
    editor.movePointer(true, {});
    EXPECT_TRUE(log.quiet()) << "vertices are not shown by the window's widgets";
    editor.releaseLeft({});
    EXPECT_EQ(log.takeOne(), "mode") << "undo became possible";

    at({10, 20});
    editor.pressLeft({});
    at({40, 20});
    editor.releaseLeft({});
    EXPECT_TRUE(log.quiet());
}

TEST_F(EditorChangesTest, NestedOperationsReportOnce) {
    editor.selectAll();
    EXPECT_EQ(log.takeOne(), "mode");
    editor.deselect();  // goes through setToolMode
    EXPECT_EQ(log.takeOne(), "mode");

    // A move that finds the button up ends the drag through the release.
    editor.setToolMode(ToolMode::StraightLine);
    log.quiet();
    at({10, 10});
    editor.pressLeft({});
    log.quiet();
    at({50, 50});
    editor.movePointer(false, {});
    EXPECT_EQ(log.takeOne(), "mode");

    // Cancel goes through the preview and ends the replay.
    ModelProperties opening = editor.model().properties;
    ModelProperties dark = opening;
    dark.backgroundColor = ColorRgb{0, 0, 0};
    editor.previewProperties(dark);
    editor.previewReplay();
    log.quiet();
    editor.cancelProperties(opening);
    EXPECT_EQ(log.takeOne(), "mode properties");
}

TEST_F(EditorChangesTest, SizeChangesAreReportedApartFromTheOtherProperties) {
    ModelProperties smaller = editor.model().properties;
    smaller.width = 200;
    editor.previewProperties(smaller);
    EXPECT_TRUE(log.quiet()) << "the preview leaves the size alone";
    editor.acceptProperties(smaller, true);
    EXPECT_EQ(log.takeOne(), "title mode canvasSize");

    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(log.takeOne(), "mode canvasSize");

    ModelProperties thick = editor.model().properties;
    thick.lineWidth = 12;
    editor.previewProperties(thick);
    EXPECT_EQ(log.takeOne(), "properties");
}

TEST_F(EditorChangesTest, FramesReportOnlyTheEndOfAReplay) {
    test::loadDrawing(editor, test::strokes({{{0, 0}, {0, 100}}}));
    log.quiet();
    editor.frameTick(renderer, {1, 1});
    editor.wobbleTick();
    EXPECT_TRUE(log.quiet());

    editor.toggleReplay();
    EXPECT_EQ(log.takeOne(), "mode");
    for (int frame = 0; frame < 3; ++frame) {  // 0, 40 and 80 of 100 pixels
        EXPECT_FALSE(editor.frameTick(renderer, {1, 1}).replayEnded);
        EXPECT_TRUE(log.quiet());
    }
    EXPECT_TRUE(editor.frameTick(renderer, {1, 1}).replayEnded);
    EXPECT_EQ(log.takeOne(), "mode");
}

TEST_F(EditorChangesTest, DocumentsReportTheirNameAndMark) {
    at({10, 10});
    editor.pressLeft({});
    at({40, 10});
    editor.releaseLeft({});
    log.quiet();

    test::ScratchFolder folder;
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    EXPECT_EQ(log.takeOne(), "title");
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    EXPECT_TRUE(log.quiet());

    editor.replaceDocument(ModelFileContents{std::nullopt, {}}, "", "b.rkm", false);
    EXPECT_EQ(log.takeOne(), "title");
    editor.newDocument();
    EXPECT_EQ(log.takeOne(), "title");
}

TEST_F(EditorChangesTest, RefusedAndEmptyCommandsReportNothing) {
    editor.setToolMode(ToolMode::StraightLine);
    editor.toggleMoveMode();
    editor.toggleScaleMode();
    editor.deleteSelectedLines();
    editor.undo();
    editor.redo();
    editor.samplePointer({5, 5});
    editor.pressRight();
    editor.releaseLeft({});
    editor.beginBorderDrag({0, 0});
    editor.borderDragStep(BorderEdge::Bottom, {0, 0, 400, 300});
    EXPECT_TRUE(log.quiet());

    editor.toggleReplay();
    log.quiet();
    editor.selectAll();
    editor.invertSelection();
    editor.deselect();
    editor.undo();
    EXPECT_TRUE(log.quiet()) << "ignored during a replay";
}

}  // namespace
}  // namespace rek
