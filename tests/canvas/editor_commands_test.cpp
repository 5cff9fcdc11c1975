#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;
using test::selectedFlags;

ModelProperties unusualProperties() {
    ModelProperties p = test::canvasOfSize(320, 240);
    p.wobbleAmount = 9;
    p.vtrSpeed = 7;
    p.lineColor = ColorRgb{1, 2, 3};
    p.shadowColor = ColorRgb{4, 5, 6};
    p.backgroundColor = ColorRgb{7, 8, 9};
    p.shadowMode = 1;
    p.lineWidth = 10;
    return p;
}

// The editor's commands, its documents and properties, and the rules it keeps about tools,
// selection, sub-modes and replay.
class EditorCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{0, 0}, {100, 0}, {100, 100}}}));
    }
    void drawLine(Point from, Point to) {
        editor.setToolMode(ToolMode::StraightLine);
        editor.samplePointer(from);
        editor.pressLeft({});
        editor.samplePointer(to);
        editor.releaseLeft({});
    }
    std::size_t count() const { return editor.model().vertices.size(); }
    const std::vector<bool> none{false, false, false};
    const std::vector<bool> all{true, true, true};
    const std::vector<Pt> drawing{{0, 0, true}, {100, 0}, {100, 100}};

    Editor editor{test::canvasOfSize(300, 200)};
    FrameRenderer renderer;
};

TEST_F(EditorCommandsTest, ModeChangesUndoAndRedoEndTheSelectionAndTheSubModes) {
    for (ToolMode mode : {ToolMode::StraightLine, ToolMode::Curve, ToolMode::Rect, ToolMode::Circle,
                          ToolMode::FilledRect, ToolMode::FilledCircle, ToolMode::RangeSelect}) {
        SCOPED_TRACE(static_cast<int>(mode));
        editor.selectAll();
        ASSERT_TRUE(editor.toggleMoveMode());
        editor.setToolMode(mode);
        EXPECT_FALSE(editor.model().selectionExists);
        EXPECT_EQ(selectedFlags(editor), none);
        EXPECT_EQ(editor.subMode(), SubMode::None);
    }

    drawLine({10, 10}, {60, 10});
    editor.selectAll();
    ASSERT_TRUE(editor.toggleMoveMode());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_FALSE(editor.model().selectionExists);
    EXPECT_EQ(selectedFlags(editor), none);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);

    // With nothing to undo or redo the sub-mode stays.
    ASSERT_TRUE(editor.redo());
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    EXPECT_FALSE(editor.redo());
    EXPECT_TRUE(editor.scaleMode());
}

TEST_F(EditorCommandsTest, SubModesNeedRangeSelectAndASelectionAndExcludeEachOther) {
    EXPECT_FALSE(editor.toggleMoveMode());  // straight-line mode
    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_FALSE(editor.toggleScaleMode());  // nothing selected
    EXPECT_FALSE(editor.toggleMoveMode());

    editor.selectAll();
    EXPECT_TRUE(editor.toggleMoveMode());
    EXPECT_TRUE(editor.toggleScaleMode());
    EXPECT_TRUE(editor.scaleMode());
    EXPECT_FALSE(editor.moveMode());
    EXPECT_TRUE(editor.toggleScaleMode());
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(selectedFlags(editor), all) << "the selection outlasts its sub-modes";

    // Selection commands end in range select.
    editor.setToolMode(ToolMode::Curve);
    editor.invertSelection();  // nothing selected: all of it
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    EXPECT_EQ(selectedFlags(editor), all);
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);
    editor.setToolMode(ToolMode::Rect);
    editor.selectAll();
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    editor.toggleMoveMode();
    editor.deselect();
    EXPECT_EQ(selectedFlags(editor), none);
    EXPECT_EQ(editor.subMode(), SubMode::None);
}

// During a replay, selection commands, undo and redo are ignored; M and Shift+Z act. Every
// replay starts from the first segment.
TEST_F(EditorCommandsTest, ReplayIgnoresSelectionCommandsUndoAndRedo) {
    editor.deleteLastVertex();
    editor.toggleReplay();
    editor.selectAll();
    editor.invertSelection();
    EXPECT_FALSE(editor.model().selectionExists);
    editor.deselect();
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    EXPECT_FALSE(editor.undo());
    EXPECT_EQ(count(), 2u);

    editor.setToolMode(ToolMode::RangeSelect);
    EXPECT_EQ(editor.toolMode(), ToolMode::RangeSelect);
    editor.frameTick(renderer, {0, 0});
    ASSERT_GT(editor.replayDrawnLength(), 0u);
    editor.deleteLastVertex();
    EXPECT_EQ(count(), 0u);
    EXPECT_TRUE(editor.replaying());

    editor.toggleReplay();
    EXPECT_TRUE(editor.undo());
    editor.toggleReplay();
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
    EXPECT_FALSE(editor.redo());
    EXPECT_EQ(count(), 2u);
}

TEST_F(EditorCommandsTest, DeletesRecordOneSnapshotPerChange) {
    editor.deleteSelectedLines();
    editor.setToolMode(ToolMode::RangeSelect);
    editor.deleteSelectedLines();
    EXPECT_EQ(count(), 3u);
    EXPECT_EQ(test::recorded(editor), 0u);

    // Only the first segment: the rest of the stroke stays, one snapshot.
    editor.samplePointer({-1, -1});
    editor.pressLeft({});
    editor.samplePointer({101, 1});
    editor.releaseLeft({});
    ASSERT_TRUE(editor.toggleMoveMode());
    editor.deleteSelectedLines();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{100, 0, true}, {100, 100}}));
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(test::recorded(editor), 1u);
    EXPECT_TRUE(editor.model().modified);

    // The tail goes too: two snapshots, and undo steps back through both.
    editor.selectAll();
    editor.deleteSelectedLines();
    EXPECT_TRUE(editor.model().vertices.empty());
    EXPECT_EQ(test::recorded(editor), 3u);
    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(count(), 2u);
}

TEST_F(EditorCommandsTest, DeleteLastVertexAlwaysRecordsASnapshot) {
    editor.deleteLastVertex();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{0, 0, true}, {100, 0}}));
    editor.deleteLastVertex();  // the lone start left goes with it
    EXPECT_TRUE(editor.model().vertices.empty());
    editor.deleteLastVertex();
    EXPECT_EQ(test::recorded(editor), 3u);
}

TEST_F(EditorCommandsTest, ReplacedDocumentStartsAfreshWithTheFilesDrawing) {
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    editor.samplePointer({0, 0});
    editor.pressLeft({});
    editor.samplePointer({100, 0});
    editor.movePointer(true, {});
    ASSERT_EQ(editor.scaleFactor(), 2.0f);
    editor.toggleWobble();
    editor.toggleReplay();
    editor.frameTick(renderer, {0, 0});
    const std::size_t entries = editor.historySize();

    const VertexList file = test::strokes({{{1, 2}, {3, 4}}, {{5, 6}}});
    editor.replaceDocument(ModelFileContents{unusualProperties(), file}, "/models/a.rkm", "a.rkm",
                           false);
    const Model& model = editor.model();
    EXPECT_EQ(model.properties, unusualProperties());
    EXPECT_EQ(pts(model.vertices), pts(file));
    EXPECT_EQ(editor.toolMode(), ToolMode::StraightLine);
    EXPECT_EQ(editor.subMode(), SubMode::None);
    EXPECT_EQ(editor.scaleFactor(), 1.0f);
    EXPECT_TRUE(editor.wobbleEnabled());
    EXPECT_FALSE(editor.replaying());
    EXPECT_FALSE(model.modified);
    EXPECT_EQ(model.filePath, "/models/a.rkm");
    EXPECT_EQ(model.displayName, "a.rkm");
    EXPECT_EQ(editor.shownVertexCount(), 3);

    // One snapshot, and undo returns to the drawing of before.
    EXPECT_EQ(editor.historySize(), entries + 1);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(pts(model.vertices), drawing);
    EXPECT_EQ(model.properties, test::canvasOfSize(300, 200));

    // Asked to, the replay starts afresh on the new drawing.
    editor.toggleReplay();
    editor.frameTick(renderer, {0, 0});
    ASSERT_GT(editor.replayDrawnLength(), 0u);
    editor.replaceDocument(ModelFileContents{std::nullopt, file}, "", "", true);
    EXPECT_TRUE(editor.replaying());
    EXPECT_EQ(editor.replayDrawnLength(), 0u);
}

TEST_F(EditorCommandsTest, LegacyFileKeepsThePropertiesAndAZeroSizeKeepsTheSize) {
    editor.previewProperties(unusualProperties());
    const ModelProperties before = editor.model().properties;
    editor.replaceDocument(ModelFileContents{std::nullopt, {}}, "", "", false);
    EXPECT_EQ(editor.model().properties, before);

    ModelProperties sizeless;
    sizeless.width = 0;
    sizeless.height = 400;
    sizeless.lineWidth = 8;
    editor.replaceDocument(ModelFileContents{sizeless, {}}, "", "", false);
    EXPECT_EQ(editor.model().properties.width, 300);
    EXPECT_EQ(editor.model().properties.height, 200);
    EXPECT_EQ(editor.model().properties.lineWidth, 8);
}

TEST_F(EditorCommandsTest, NewDocumentEmptiesTheDrawingAndForgetsItsFile) {
    editor.replaceDocument(ModelFileContents{std::nullopt, test::strokes({{{1, 1}, {9, 9}}})},
                           "/models/a.rkm", "a.rkm", false);
    drawLine({10, 10}, {50, 10});
    editor.setToolMode(ToolMode::Circle);
    editor.frameTick(renderer, {0, 0});
    ASSERT_GT(editor.shownVertexCount(), 0);
    const std::size_t entries = editor.historySize();

    editor.newDocument();
    EXPECT_TRUE(editor.model().vertices.empty());
    EXPECT_FALSE(editor.model().modified);
    EXPECT_TRUE(editor.model().filePath.empty());
    EXPECT_EQ(editor.shownVertexCount(), 0);
    EXPECT_EQ(editor.historySize(), entries + 1);
    EXPECT_EQ(editor.toolMode(), ToolMode::Circle) << "the tool stays";
    EXPECT_EQ(editor.model().properties, test::canvasOfSize(300, 200));
}

// Preview shows all but the size without marking or recording; accept applies the size, marks
// and records; cancel goes back. Both end the replay the speed preview started.
TEST_F(EditorCommandsTest, PropertiesPreviewAcceptAndCancel) {
    const ModelProperties opening = editor.model().properties;
    editor.previewProperties(unusualProperties());
    ModelProperties previewed = unusualProperties();
    previewed.width = 300;
    previewed.height = 200;
    EXPECT_EQ(editor.model().properties, previewed);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_FALSE(editor.replaying());

    // The speed preview starts a replay, but does not start a running one again.
    editor.previewReplay();
    EXPECT_TRUE(editor.replaying());
    editor.frameTick(renderer, {0, 0});
    const std::uint32_t length = editor.replayDrawnLength();
    editor.previewReplay();
    EXPECT_EQ(editor.replayDrawnLength(), length);

    editor.cancelProperties(opening);
    EXPECT_EQ(editor.model().properties, opening);
    EXPECT_FALSE(editor.replaying());
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(test::recorded(editor), 0u);

    editor.previewReplay();
    editor.acceptProperties(unusualProperties(), true);
    EXPECT_EQ(editor.model().properties, unusualProperties());
    EXPECT_TRUE(editor.model().modified);
    EXPECT_FALSE(editor.replaying());
    EXPECT_EQ(test::recorded(editor), 1u);

    // A new model's properties are not an edit of their own.
    editor.acceptProperties(test::canvasOfSize(640, 480), false);
    EXPECT_EQ(editor.model().properties.width, 640);
    EXPECT_EQ(test::recorded(editor), 1u);
}

TEST_F(EditorCommandsTest, SaveTakesTheNameAndTheMarkFollowsSavesNotUndo) {
    test::ScratchFolder folder;
    drawLine({10, 10}, {60, 10});
    ASSERT_TRUE(editor.undo());
    EXPECT_TRUE(editor.model().modified) << "back at the opened drawing, but it was edited";
    ASSERT_TRUE(editor.redo());

    const std::string path = folder.file("line.rkm");
    ASSERT_FALSE(editor.saveDocument(path, "line.rkm").has_value());
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.model().filePath, path);
    const ModelFileRead read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(pts(std::get<ModelFileContents>(read).vertices), pts(editor.model().vertices));

    // Saved, then undone: the drawing differs from the file, and stays unmarked all the same.
    ASSERT_TRUE(editor.undo());
    EXPECT_FALSE(editor.model().modified);

    // A failed save changes nothing.
    drawLine({10, 20}, {50, 20});
    EXPECT_TRUE(editor.saveDocument(folder.file("missing/x.rkm"), "x.rkm").has_value());
    EXPECT_TRUE(editor.model().modified);
    EXPECT_EQ(editor.model().filePath, path);
    EXPECT_EQ(editor.model().displayName, "line.rkm");
}

}  // namespace
}  // namespace rek
