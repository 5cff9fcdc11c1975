#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "render/wobble.h"
#include "scratch_folder.h"

namespace rek {
namespace {

constexpr QRgb kRed = 0xffff0000;

// The editor's frame and wobble steps, and its change notifications: changed() comes once at
// the end of every operation that altered what the window shows, with what it altered, and not
// at all otherwise.
class EditorFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{20, 50}, {120, 50}}, {{20, 100}, {120, 100}}}));
        log.quiet();
    }

    FrameTick frame(Point pointer = {0, 0}) { return editor.frameTick(renderer, pointer); }
    int redPixels() const { return test::countPixels(shown(), kRed); }
    void press(Point at) {
        editor.samplePointer(at);
        editor.pressLeft({});
    }
    void release(Point at) {
        editor.samplePointer(at);
        editor.releaseLeft({});
    }

    // What a frame of the drawing as it stands looks like with this band over it.
    QImage expected(RubberBand band, std::optional<ScalePreview> scale = std::nullopt) const {
        FrameRenderer reference;
        const Model& model = editor.model();
        reference.drawFrame(FrameScene{model.vertices, model.properties, std::nullopt, scale});
        reference.drawOverlays(
            OverlayScene{model.vertices, model.properties.lineWidth, band, scale});
        return reference.frame(model.properties);
    }
    QImage shown() const { return renderer.frame(editor.model().properties); }

    Editor editor{test::canvasOfSize(400, 300)};
    test::ChangeLog log{editor};
    FrameRenderer renderer;
};

TEST_F(EditorFrameTest, ReplayFramesShowNoOverlaysAndKeepTheCountUntilTheReplayIsOver) {
    editor.selectAll();
    frame();
    ASSERT_GT(redPixels(), 0) << "the selection is highlighted";
    ASSERT_EQ(editor.shownVertexCount(), 4);
    editor.wobbleTick();
    log.quiet();

    editor.toggleReplay();
    EXPECT_EQ(log.takeOne(), "mode");
    editor.deleteLastVertex();  // Shift+Z acts during a replay; 100 pixels of line are left
    log.quiet();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const FrameTick tick = frame({5, 5});
        EXPECT_TRUE(tick.replayStepped);
        EXPECT_FALSE(tick.replayEnded);
        EXPECT_EQ(redPixels(), 0);
        EXPECT_EQ(editor.shownVertexCount(), 4);
        EXPECT_EQ(editor.pointer(), (Point{5, 5})) << "replay frames take the pointer too";
        EXPECT_TRUE(log.quiet()) << "frames report only the end of a replay";
    }
    // At 120 pixels the frame draws the whole drawing: the replay ends there, and that frame
    // gets the overlays at once.
    const FrameTick last = frame();
    EXPECT_TRUE(last.replayStepped);
    EXPECT_TRUE(last.replayEnded);
    EXPECT_EQ(log.takeOne(), "mode");
    EXPECT_FALSE(editor.replaying());
    EXPECT_GT(redPixels(), 0);
    EXPECT_EQ(editor.shownVertexCount(), 4);

    const FrameTick after = frame({33, 44});
    EXPECT_FALSE(after.replayStepped);
    EXPECT_EQ(editor.pointer(), (Point{33, 44}));
    EXPECT_EQ(editor.shownVertexCount(), 2);
    EXPECT_TRUE(log.quiet());
}

TEST_F(EditorFrameTest, OnlyStrokeAndRangeSelectDragsShowABand) {
    press({200, 20});
    frame({250, 80});
    EXPECT_EQ(shown(), expected({RubberBand::Shape::Line, {200, 20}, {250, 80}}));
    EXPECT_NE(shown(), expected({})) << "a band must show in the comparison";
    release({250, 80});
    frame({250, 80});
    EXPECT_EQ(shown(), expected({})) << "no band once the button is up";

    editor.setToolMode(ToolMode::RangeSelect);
    press({10, 40});
    frame({160, 110});
    EXPECT_EQ(shown(), expected({RubberBand::Shape::SelectionBand, {10, 40}, {160, 110}}));
    release({160, 110});
    ASSERT_TRUE(editor.model().selectionExists);

    // Neither sub-mode shows a band, whatever the drag start and the pointer.
    ASSERT_TRUE(editor.toggleMoveMode());
    press({100, 100});
    frame({130, 120});
    EXPECT_EQ(shown(), expected({}));
    release({130, 120});

    ASSERT_TRUE(editor.toggleScaleMode());
    press({200, 200});
    editor.samplePointer({300, 200});
    editor.movePointer(true, {});
    frame({300, 210});
    const ScalePreview doubled{{200, 200}, 2.0f};
    EXPECT_EQ(shown(), expected({}, doubled));
    EXPECT_NE(shown(), expected({})) << "the selection is drawn scaled";
    release({300, 210});
}

TEST_F(EditorFrameTest, SnapshotCopiesTheDrawingAndWhereTheWobbleStands) {
    editor.seedRandom(1234);
    editor.wobbleTick();
    const AnimationSnapshot snapshot = editor.snapshot();
    EXPECT_EQ(snapshot.properties, editor.model().properties);
    EXPECT_EQ(test::pts(snapshot.vertices), test::pts(editor.model().vertices));

    // An export from the snapshot wobbles exactly as the editor goes on to.
    Random exportRandom(snapshot.seed);
    VertexList exported = snapshot.vertices;
    newWobbleOffsets(exported, snapshot.properties.wobbleAmount, true, exportRandom);
    editor.wobbleTick();
    for (std::size_t i = 0; i < exported.size(); ++i) {
        EXPECT_EQ(exported[i].wobbleDx, editor.model().vertices[i].wobbleDx) << i;
        EXPECT_EQ(exported[i].wobbleDy, editor.model().vertices[i].wobbleDy) << i;
    }
}

TEST_F(EditorFrameTest, StrokesReportTheMarkAndTheUndoOnlyWhenTheyFirstAppear) {
    press({10, 10});
    EXPECT_EQ(log.takeOne(), "title");
    editor.samplePointer({40, 10});
    editor.movePointer(true, {});
    EXPECT_TRUE(log.quiet()) << "vertices are not shown by the window's widgets";
    editor.releaseLeft({});
    EXPECT_EQ(log.takeOne(), "mode") << "undo became possible";
    press({10, 20});
    release({40, 20});
    EXPECT_TRUE(log.quiet());

    // Saving reports the name and mark once; documents put in place report their name.
    test::ScratchFolder folder;
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    EXPECT_EQ(log.takeOne(), "title");
    ASSERT_FALSE(editor.saveDocument(folder.file("a.rkm"), "a.rkm").has_value());
    EXPECT_TRUE(log.quiet());
    editor.replaceDocument(ModelFileContents{std::nullopt, {}}, "", "b.rkm", false);
    EXPECT_EQ(log.takeOne(), "title");
}

TEST_F(EditorFrameTest, SizeIsReportedApartAndNestedOperationsReportOnce) {
    const ModelProperties opening = editor.model().properties;
    ModelProperties smaller = opening;
    smaller.width = 200;
    editor.previewProperties(smaller);
    EXPECT_TRUE(log.quiet()) << "the preview leaves the size alone";
    editor.acceptProperties(smaller, true);
    EXPECT_EQ(log.takeOne(), "title mode canvasSize");
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(log.takeOne(), "mode canvasSize");
    ModelProperties dark = editor.model().properties;
    dark.backgroundColor = ColorRgb{0, 0, 0};
    editor.previewProperties(dark);
    EXPECT_EQ(log.takeOne(), "properties");

    // Cancel goes through the preview and ends the replay.
    editor.previewReplay();
    log.quiet();
    editor.cancelProperties(opening);
    EXPECT_EQ(log.takeOne(), "mode properties");

    editor.selectAll();
    EXPECT_EQ(log.takeOne(), "mode");
    editor.deselect();  // goes through setToolMode
    EXPECT_EQ(log.takeOne(), "mode");

    // A move that finds the button up ends the drag through the release.
    editor.setToolMode(ToolMode::StraightLine);
    press({10, 10});
    log.quiet();
    editor.samplePointer({50, 50});
    editor.movePointer(false, {});
    EXPECT_EQ(log.takeOne(), "mode");
}

}  // namespace
}  // namespace rek
