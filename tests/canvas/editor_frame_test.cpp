#include <gtest/gtest.h>

#include "canvas/editor.h"
#include "canvas_test_support.h"
#include "render/wobble.h"

namespace rek {
namespace {

constexpr QRgb kRed = 0xffff0000;

// The editor's frame and wobble steps.
class EditorFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::loadDrawing(editor, test::strokes({{{20, 50}, {120, 50}}, {{20, 100}, {120, 100}}}));
    }

    FrameTick frame(Point pointer = {0, 0}) { return editor.frameTick(renderer, pointer); }
    int redPixels() const {
        return test::countPixels(renderer.frame(editor.model().properties), kRed);
    }

    void press(Point at, KeyModifiers keys = {}) {
        editor.samplePointer(at);
        editor.pressLeft(keys);
    }
    void release(Point at, KeyModifiers keys = {}) {
        editor.samplePointer(at);
        editor.releaseLeft(keys);
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
    FrameRenderer renderer;
};

TEST_F(EditorFrameTest, FrameTakesThePointerAndTheVertexCount) {
    editor.setToolMode(ToolMode::Rect);
    press({10, 10});
    release({30, 30});
    EXPECT_EQ(editor.shownVertexCount(), 4) << "the count is taken by frames";

    const FrameTick tick = frame({33, 44});
    EXPECT_EQ(editor.pointer(), (Point{33, 44}));
    EXPECT_EQ(editor.shownVertexCount(), 9);
    EXPECT_FALSE(tick.replayStepped);
    EXPECT_FALSE(tick.replayEnded);
}

TEST_F(EditorFrameTest, ReplayFramesShowNoOverlaysAndKeepTheCountUntilTheReplayIsOver) {
    editor.selectAll();
    frame();
    ASSERT_GT(redPixels(), 0) << "the selection is highlighted";
    ASSERT_EQ(editor.shownVertexCount(), 4);

    editor.toggleReplay();
    editor.deleteLastVertex();  // Shift+Z acts during a replay; 100 pixels of line are left
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const FrameTick tick = frame({5, 5});
        EXPECT_TRUE(tick.replayStepped);
        EXPECT_FALSE(tick.replayEnded);
        EXPECT_EQ(redPixels(), 0);
        EXPECT_EQ(editor.shownVertexCount(), 4);
        EXPECT_EQ(editor.pointer(), (Point{5, 5})) << "replay frames take the pointer too";
    }
    // At 120 pixels the frame draws the whole drawing: the replay ends there, and that frame
    // gets the overlays at once.
    const FrameTick last = frame();
    EXPECT_TRUE(last.replayStepped);
    EXPECT_TRUE(last.replayEnded);
    EXPECT_FALSE(editor.replaying());
    EXPECT_GT(redPixels(), 0);
    EXPECT_EQ(editor.shownVertexCount(), 4);

    frame();
    EXPECT_EQ(editor.shownVertexCount(), 2);
}

TEST_F(EditorFrameTest, RangeSelectDragShowsItsBandButMoveAndScaleDragsShowNone) {
    editor.setToolMode(ToolMode::RangeSelect);
    press({10, 40});
    frame({160, 110});
    EXPECT_EQ(shown(), expected({RubberBand::Shape::SelectionBand, {10, 40}, {160, 110}}));
    EXPECT_NE(shown(), expected({})) << "a band must show in the comparison";
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

TEST_F(EditorFrameTest, StrokeDragShowsALineToThePointer) {
    press({200, 20});
    frame({250, 80});
    EXPECT_EQ(shown(), expected({RubberBand::Shape::Line, {200, 20}, {250, 80}}));
    release({250, 80});
    frame({250, 80});
    EXPECT_EQ(shown(), expected({})) << "no band once the button is up";
}

TEST_F(EditorFrameTest, SnapshotCopiesTheDrawingAndWhereTheWobbleStands) {
    editor.seedRandom(1234);
    editor.wobbleTick();
    const AnimationSnapshot snapshot = editor.snapshot();
    EXPECT_EQ(snapshot.properties, editor.model().properties);
    EXPECT_EQ(test::pts(snapshot.vertices), test::pts(editor.model().vertices));
    EXPECT_EQ(snapshot.vertices[1].wobbleDx, editor.model().vertices[1].wobbleDx);
    EXPECT_EQ(editor.snapshot().seed, snapshot.seed);

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

}  // namespace
}  // namespace rek
