#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "scratch_folder.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

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

// The editor's documents: the one it starts with, those put in its place, and the properties.
class EditorDocumentTest : public ::testing::Test {
  protected:
    void drawLine(Point from, Point to) {
        editor.samplePointer(from);
        editor.pressLeft({});
        editor.samplePointer(to);
        editor.releaseLeft({});
    }
    // A frame of a running replay, so its length moves on.
    void replayFrame() {
        ASSERT_TRUE(editor.replaying());
        editor.frameTick(renderer, {0, 0});
    }

    Editor editor{test::canvasOfSize(300, 200)};
    FrameRenderer renderer;
};

TEST_F(EditorDocumentTest, RestartedHistoryHoldsOnlyTheDrawingAsItIs) {
    drawLine({10, 10}, {50, 10});
    editor.restartHistory();
    EXPECT_EQ(editor.historySize(), 1u);
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{10, 10, true}, {50, 10}}));

    drawLine({10, 20}, {50, 20});
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{10, 10, true}, {50, 10}}));
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(EditorDocumentTest, ReplacedDocumentStartsAfreshWithTheFilesDrawing) {
    drawLine({10, 10}, {50, 10});
    editor.selectAll();
    ASSERT_TRUE(editor.toggleScaleMode());
    editor.samplePointer({0, 0});
    editor.pressLeft({});
    editor.samplePointer({100, 0});
    editor.movePointer(true, {});
    ASSERT_EQ(editor.scaleFactor(), 2.0f);
    editor.toggleWobble();
    editor.toggleReplay();
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
    EXPECT_EQ(pts(model.vertices), (std::vector<Pt>{{10, 10, true}, {50, 10}}));
    EXPECT_EQ(model.properties, test::canvasOfSize(300, 200));
}

TEST_F(EditorDocumentTest, ReplayStartsAfreshOnlyWhenAsked) {
    const VertexList file = test::strokes({{{0, 0}, {0, 150}}});
    test::loadDrawing(editor, file);
    editor.toggleReplay();
    replayFrame();
    ASSERT_GT(editor.replayDrawnLength(), 0u);

    editor.replaceDocument(ModelFileContents{std::nullopt, file}, "", "", true);
    EXPECT_TRUE(editor.replaying());
    EXPECT_EQ(editor.replayDrawnLength(), 0u);

    editor.replaceDocument(ModelFileContents{std::nullopt, file}, "", "", false);
    EXPECT_FALSE(editor.replaying());
    editor.replaceDocument(ModelFileContents{std::nullopt, file}, "", "", true);
    EXPECT_TRUE(editor.replaying());
}

TEST_F(EditorDocumentTest, LegacyFileKeepsThePropertiesAndAZeroSizeKeepsTheSize) {
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
    EXPECT_EQ(editor.model().properties.backgroundColor, ModelProperties{}.backgroundColor);
}

TEST_F(EditorDocumentTest, NewDocumentEmptiesTheDrawingAndForgetsItsFile) {
    editor.replaceDocument(ModelFileContents{std::nullopt, test::strokes({{{1, 1}, {9, 9}}})},
                           "/models/a.rkm", "a.rkm", false);
    drawLine({10, 10}, {50, 10});
    editor.setToolMode(ToolMode::Circle);
    editor.toggleWobble();
    editor.frameTick(renderer, {0, 0});
    ASSERT_GT(editor.shownVertexCount(), 0);
    const std::size_t entries = editor.historySize();

    editor.newDocument();
    const Model& model = editor.model();
    EXPECT_TRUE(model.vertices.empty());
    EXPECT_FALSE(model.modified);
    EXPECT_TRUE(model.filePath.empty());
    EXPECT_TRUE(editor.wobbleEnabled());
    EXPECT_EQ(editor.shownVertexCount(), 0);
    EXPECT_EQ(editor.historySize(), entries + 1);
    EXPECT_EQ(editor.toolMode(), ToolMode::Circle) << "the tool stays";
    EXPECT_EQ(model.properties, test::canvasOfSize(300, 200));
}

TEST_F(EditorDocumentTest, PreviewShowsAllButTheSizeWithoutMarkingOrRecording) {
    test::loadDrawing(editor, test::strokes({{{0, 0}, {0, 150}}}));
    editor.previewProperties(unusualProperties());
    ModelProperties expected = unusualProperties();
    expected.width = 300;
    expected.height = 200;
    EXPECT_EQ(editor.model().properties, expected);
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(test::recorded(editor), 0u);
    EXPECT_FALSE(editor.replaying());

    // The speed preview starts a replay, but does not start a running one again.
    editor.previewReplay();
    EXPECT_TRUE(editor.replaying());
    replayFrame();
    const std::uint32_t length = editor.replayDrawnLength();
    editor.previewReplay();
    EXPECT_EQ(editor.replayDrawnLength(), length);
}

TEST_F(EditorDocumentTest, AcceptAppliesTheSizeMarksAndEndsTheReplay) {
    editor.previewProperties(unusualProperties());
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

TEST_F(EditorDocumentTest, CancelGoesBackToTheOpeningPropertiesAndEndsTheReplay) {
    const ModelProperties opening = editor.model().properties;
    editor.previewProperties(unusualProperties());
    editor.previewReplay();
    editor.cancelProperties(opening);
    EXPECT_EQ(editor.model().properties, opening);
    EXPECT_FALSE(editor.replaying());
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(test::recorded(editor), 0u);
}

TEST_F(EditorDocumentTest, SavedDocumentTakesItsNameAndLosesTheMark) {
    test::ScratchFolder folder;
    drawLine({10, 10}, {50, 10});
    const std::string path = folder.file("line.rkm");
    ASSERT_FALSE(editor.saveDocument(path, "line.rkm").has_value());
    EXPECT_FALSE(editor.model().modified);
    EXPECT_EQ(editor.model().filePath, path);

    const ModelFileRead read = readModel(path);
    ASSERT_TRUE(std::holds_alternative<ModelFileContents>(read));
    EXPECT_EQ(pts(std::get<ModelFileContents>(read).vertices), pts(editor.model().vertices));

    // A failed save changes nothing.
    drawLine({10, 20}, {50, 20});
    EXPECT_TRUE(editor.saveDocument(folder.file("missing/x.rkm"), "x.rkm").has_value());
    EXPECT_TRUE(editor.model().modified);
    EXPECT_EQ(editor.model().filePath, path);
    EXPECT_EQ(editor.model().displayName, "line.rkm");
}

}  // namespace
}  // namespace rek
