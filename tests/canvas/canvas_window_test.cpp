#include "canvas/canvas_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <vector>

#include "canvas/tool_modes.h"
#include "canvas_test_support.h"
#include "model/model.h"
#include "render/animation_clock.h"

namespace rek {
namespace {

using test::makeVertex;
using test::Pt;
using test::pts;
using test::seedWhere;

constexpr int kWidth = 400;
constexpr int kHeight = 300;
// Where the canvas sits in its parent: room on every side for a border drag.
constexpr QPoint kCanvasOrigin(250, 200);

// The canvas inside a plain parent, driven by real mouse events. The tools read the pointer
// that the last frame sampled, so every move is followed by a frame, as the frame timer does.
class CanvasWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        applyCanvasSize(state.model, kWidth, kHeight);
        parent.resize(900, 700);
        canvas = new CanvasWindow(state, renderer, &parent);
        canvas->setGeometry(QRect(kCanvasOrigin, CanvasWindow::outerSizeFor(kWidth, kHeight)));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    static QPoint local(int x, int y) {
        return QPoint(x + CanvasWindow::kBorder, y + CanvasWindow::kBorder);
    }

    void frame() { clock.frameTick(state, renderer, canvas->samplePointer()); }

    // A move in canvas coordinates with the given buttons held, then a frame.
    void moveTo(int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        sendMove(local(x, y), keys);
        frame();
    }

    void sendMove(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, held, keys);
        QApplication::sendEvent(canvas, &move);
    }

    void sendMoveGlobal(QPoint global) {
        const QPoint at = canvas->mapFromGlobal(global);
        QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, held, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
    }

    void press(int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        moveTo(x, y, keys);
        QTest::mousePress(canvas, Qt::LeftButton, keys, local(x, y));
        held = Qt::LeftButton;
    }

    void release(int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        held = Qt::NoButton;
        QTest::mouseRelease(canvas, Qt::LeftButton, keys, local(x, y));
    }

    void rightClick(int x, int y) {
        QTest::mousePress(canvas, Qt::RightButton, Qt::NoModifier, local(x, y));
        QTest::mouseRelease(canvas, Qt::RightButton, Qt::NoModifier, local(x, y));
    }

    // Choosing range select again would clear the selection, so the mode is set only when it
    // changes, as a user who keeps the tool does.
    void drag(ToolMode mode, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        if (state.tool.mode != mode)
            setToolMode(state, mode);
        press(from.x(), from.y(), keys);
        moveTo((from.x() + to.x()) / 2, (from.y() + to.y()) / 2, keys);
        moveTo(to.x(), to.y(), keys);
        release(to.x(), to.y(), keys);
    }

    EditorState state;
    FrameRenderer renderer;
    AnimationClock clock;
    QWidget parent;
    CanvasWindow* canvas = nullptr;  // owned by parent
    Qt::MouseButtons held = Qt::NoButton;
};

// --- Straight lines and curves ---------------------------------------------------------------

TEST_F(CanvasWidgetTest, StraightLineTakesARightClickedVertexOnTheWay) {
    QSignalSpy handled(canvas, &CanvasWindow::inputHandled);
    press(10, 10);
    moveTo(50, 10);
    rightClick(50, 10);
    moveTo(50, 50);
    rightClick(50, 50);
    moveTo(10, 50);
    release(10, 50);

    EXPECT_EQ(pts(state.model.vertices),
              (std::vector<Pt>{{10, 10, true}, {50, 10}, {50, 50}, {10, 50}}));
    EXPECT_FALSE(state.tool.dragging);
    EXPECT_TRUE(state.model.modified);
    EXPECT_EQ(state.history.size(), 1u);

    // The press asked for the pointer to be confined and the release freed it.
    ASSERT_GE(handled.size(), 2);
    EXPECT_TRUE(handled.first().at(0).value<InputOutcome>().confinePointer);
    EXPECT_TRUE(handled.last().at(0).value<InputOutcome>().releasePointer);
}

TEST_F(CanvasWidgetTest, ToolsUseTheSampledPointerNotTheEventPosition) {
    press(10, 10);
    moveTo(80, 30);
    // Moved on, but no frame sampled the new position before the button came up.
    sendMove(local(200, 200));
    release(200, 200);

    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{10, 10, true}, {80, 30}}));
}

TEST_F(CanvasWidgetTest, ClickWithoutMovingLeavesNoLoneStart) {
    press(30, 30);
    release(30, 30);
    EXPECT_TRUE(state.model.vertices.empty());
    EXPECT_EQ(state.history.size(), 1u);
}

TEST_F(CanvasWidgetTest, CurveFollowsTheDragAndThinsStraightRuns) {
    setToolMode(state, ToolMode::Curve);
    // Straight to the right in small steps, then straight down: a corner in the middle.
    press(20, 100);
    for (int x = 23; x <= 140; x += 3)
        moveTo(x, 100);
    for (int y = 103; y <= 220; y += 3)
        moveTo(140, y);
    release(140, 220);

    const std::vector<Pt> curve = pts(state.model.vertices);
    ASSERT_GE(curve.size(), 3u);
    EXPECT_EQ(curve.front(), (Pt{20, 100, true}));
    EXPECT_EQ(curve.back(), (Pt{140, 220}));
    // Some 80 moves, but the straight runs were thinned to a handful of vertices, and every
    // vertex kept lies on one of the two legs.
    EXPECT_LE(curve.size(), 8u);
    bool corner = false;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        EXPECT_FALSE(curve[i].start);
        EXPECT_TRUE(curve[i].y == 100 || curve[i].x == 140) << curve[i];
        corner = corner || (curve[i].x == 140 && curve[i].y <= 110);
    }
    EXPECT_TRUE(corner) << "the corner is not straight and must stay";
    EXPECT_EQ(state.history.size(), 1u);
}

// --- Shapes ------------------------------------------------------------------------------------

TEST_F(CanvasWidgetTest, RectangleDragAppendsTheOutline) {
    state.random.seed(
        seedWhere([](int first, int second) { return first % 4 == 0 && second % 2 == 1; }));
    drag(ToolMode::Rect, {10, 10}, {50, 40});
    EXPECT_EQ(pts(state.model.vertices),
              (std::vector<Pt>{{10, 10, true}, {50, 10}, {50, 40}, {10, 40}, {10, 10}}));
    EXPECT_EQ(state.history.size(), 1u);
}

TEST_F(CanvasWidgetTest, CircleDragAppendsAClosedOutline) {
    state.random.seed(seedWhere([](int first, int) { return first % 360 == 0; }));
    drag(ToolMode::Circle, {0, 0}, {100, 100});
    const std::vector<Pt> circle = pts(state.model.vertices);
    ASSERT_EQ(circle.size(), 11u);  // ten segments for rx + ry = 100
    EXPECT_EQ(circle.front(), (Pt{100, 50, true}));
    // One full turn with pi as 3.141592 puts cos a hair below 1, and truncation takes the
    // closing point one pixel inside the start.
    EXPECT_EQ(circle.back(), (Pt{99, 50}));
    for (const Pt& p : circle) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 100 && p.y >= 0 && p.y <= 100) << p;
    }
}

TEST_F(CanvasWidgetTest, FilledRectangleDragAddsTheHatchStroke) {
    drag(ToolMode::FilledRect, {0, 0}, {100, 60});
    ASSERT_EQ(state.model.vertices.size(), 15u);
    EXPECT_EQ(pts(state.model.vertices, 5), (std::vector<Pt>{{30, 0, true},
                                                             {0, 30},
                                                             {60, 0},
                                                             {0, 60},
                                                             {90, 0},
                                                             {30, 60},
                                                             {100, 20},
                                                             {60, 60},
                                                             {100, 50},
                                                             {90, 60}}));
    EXPECT_EQ(state.history.size(), 1u);
}

TEST_F(CanvasWidgetTest, FilledCircleDragAddsTheChords) {
    drag(ToolMode::FilledCircle, {0, 0}, {100, 100});
    // Eleven outline vertices, then a stroke of the chords for 36, 72, 108 and 144 degrees,
    // whose first point is dropped as equal to the start.
    const std::vector<Pt> all = pts(state.model.vertices);
    ASSERT_EQ(all.size(), 19u);
    EXPECT_TRUE(all[0].start);
    EXPECT_TRUE(all[11].start);
    for (std::size_t i = 12; i < all.size(); ++i)
        EXPECT_FALSE(all[i].start);
    EXPECT_EQ(state.history.size(), 1u);
}

// --- Range select, move and scale --------------------------------------------------------------

class SelectionWidgetTest : public CanvasWidgetTest {
  protected:
    void SetUp() override {
        CanvasWidgetTest::SetUp();
        state.model.vertices = {makeVertex(20, 20, false), makeVertex(40, 40, true),
                                makeVertex(200, 200, false), makeVertex(210, 200, true),
                                makeVertex(300, 250, true)};
    }

    std::vector<bool> selected() const {
        std::vector<bool> flags;
        for (const Vertex& v : state.model.vertices)
            flags.push_back(v.isSelected());
        return flags;
    }
};

TEST_F(SelectionWidgetTest, PlainCtrlAndShiftBands) {
    drag(ToolMode::RangeSelect, {10, 10}, {50, 50});
    EXPECT_EQ(selected(), (std::vector<bool>{true, true, false, false, false}));
    EXPECT_TRUE(state.model.selectionExists);

    // Ctrl keeps the old selection and adds the band.
    drag(ToolMode::RangeSelect, {190, 190}, {220, 210}, Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<bool>{true, true, true, true, false}));

    // Shift removes the band from the selection.
    drag(ToolMode::RangeSelect, {35, 35}, {205, 205}, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, false, true, false}));
    EXPECT_TRUE(state.model.selectionExists);

    // A plain band starts anew; selecting touches neither the history nor the drawing.
    drag(ToolMode::RangeSelect, {290, 240}, {310, 260});
    EXPECT_EQ(selected(), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(state.history.size(), 0u);
    EXPECT_FALSE(state.model.modified);
}

TEST_F(SelectionWidgetTest, MoveDragShiftsTheSelectionByThePointersTravel) {
    drag(ToolMode::RangeSelect, {190, 190}, {220, 210});
    ASSERT_TRUE(toggleMoveMode(state));
    press(100, 100);
    moveTo(110, 105);
    moveTo(130, 120);
    // Each move acts on the pointer the previous frame sampled: so far (110, 105).
    EXPECT_EQ(state.model.vertices[2].x, 210);
    EXPECT_EQ(state.model.vertices[2].y, 205);
    // The hand comes to rest: the next move event catches up with the last frame.
    moveTo(130, 120);
    release(130, 120);

    EXPECT_EQ(
        pts(state.model.vertices),
        (std::vector<Pt>{{20, 20, true}, {40, 40}, {230, 220, true}, {240, 220}, {300, 250}}));
    EXPECT_TRUE(state.model.modified);
    EXPECT_EQ(state.history.size(), 1u);
    EXPECT_TRUE(state.tool.moveMode) << "the sub-mode outlasts the drag";
}

TEST_F(SelectionWidgetTest, ScaleDragAppliesAtTheRelease) {
    drag(ToolMode::RangeSelect, {205, 195}, {215, 205});  // only (210, 200)
    ASSERT_TRUE(toggleScaleMode(state));
    press(200, 200);
    moveTo(250, 230);
    moveTo(300, 260);
    // Each move acts on the pointer the previous frame sampled: so far (250, 230).
    EXPECT_FLOAT_EQ(state.tool.scaleFactor, 1.5f);
    moveTo(300, 260);  // one pixel right is one hundredth more; only x counts
    EXPECT_FLOAT_EQ(state.tool.scaleFactor, 2.0f);
    EXPECT_EQ(state.model.vertices[3].x, 210) << "the drag itself changes nothing stored";
    release(300, 260);

    EXPECT_EQ(state.model.vertices[3].x, 220);
    EXPECT_EQ(state.model.vertices[3].y, 200);
    EXPECT_EQ(state.model.vertices[2].x, 200);  // not selected
    EXPECT_FLOAT_EQ(state.tool.scaleFactor, 1.0f);
    EXPECT_EQ(state.history.size(), 1u);
}

// --- Border drag -------------------------------------------------------------------------------

TEST_F(CanvasWidgetTest, TopBorderDraggedUpGrowsTheCanvasAndKeepsTheDrawingInPlace) {
    state.model.vertices = {makeVertex(10, 20, false, true), makeVertex(300, 250, true)};
    state.model.selectionExists = true;
    QSignalSpy stepped(canvas, &CanvasWindow::borderDragStepped);
    QSignalSpy finished(canvas, &CanvasWindow::borderDragFinished);

    const QPoint grab(canvas->width() / 2, 1);
    const QPoint grabGlobal = canvas->mapToGlobal(grab);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, grab);
    EXPECT_TRUE(canvas->borderDragActive());
    EXPECT_TRUE(state.tool.resizingCanvas);
    EXPECT_FALSE(state.model.selectionExists) << "a border drag ends the selection";

    // The canvas moves under the pointer, so the events are placed on the screen.
    held = Qt::LeftButton;
    sendMoveGlobal(grabGlobal + QPoint(3, -10));
    sendMoveGlobal(grabGlobal + QPoint(5, -30));
    EXPECT_GE(stepped.size(), 1);
    EXPECT_EQ(canvas->geometry().top(), kCanvasOrigin.y() - 30);
    EXPECT_EQ(canvas->height(), CanvasWindow::outerSizeFor(kWidth, kHeight + 30).height());
    held = Qt::NoButton;
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier,
                        canvas->mapFromGlobal(grabGlobal + QPoint(5, -30)));

    EXPECT_FALSE(canvas->borderDragActive());
    EXPECT_FALSE(state.tool.resizingCanvas);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(state.model.properties.height, kHeight + 30);
    EXPECT_EQ(state.model.properties.width, kWidth);
    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{10, 50, true}, {300, 280}}));
    EXPECT_FALSE(state.model.vertices[0].isSelected());
    EXPECT_EQ(state.history.size(), 1u);
    EXPECT_FALSE(state.model.modified);
}

// --- Replay and confinement --------------------------------------------------------------------

TEST_F(CanvasWidgetTest, ReplayIgnoresPressesAndMovesButNotReleases) {
    // A long line and the slowest replay, so the frames below do not end it.
    state.model.properties.vtrSpeed = 1;
    state.model.vertices = {makeVertex(0, 0, false), makeVertex(399, 0, true),
                            makeVertex(399, 299, true)};
    setToolMode(state, ToolMode::Curve);
    press(100, 100);  // a stroke begun before the replay
    startVtr(state);

    moveTo(160, 100);
    ASSERT_TRUE(state.playback.vtrPlaying);
    EXPECT_EQ(state.model.vertices.size(), 4u) << "moves during replay add nothing";

    release(160, 100);
    EXPECT_FALSE(state.tool.dragging);
    EXPECT_EQ(pts(state.model.vertices, 3), (std::vector<Pt>{{100, 100, true}, {160, 100}}));

    // A new press during replay starts nothing.
    press(50, 50);
    EXPECT_FALSE(state.tool.dragging);
    moveTo(90, 90);
    release(90, 90);
    EXPECT_EQ(state.model.vertices.size(), 5u);
    EXPECT_TRUE(state.playback.vtrPlaying);
}

TEST_F(CanvasWidgetTest, SampledPointerStaysInsideTheDrawingAreaDuringADrag) {
    // Outside a drag the pointer is taken as it comes.
    moveTo(-20, 500);
    EXPECT_EQ(state.tool.pointer, (Point{-20, 500}));

    press(100, 100);
    moveTo(-50, 1000);
    EXPECT_EQ(state.tool.pointer, (Point{0, kHeight - 1}));
    moveTo(kWidth + 80, -40);
    EXPECT_EQ(state.tool.pointer, (Point{kWidth - 1, 0}));
    release(kWidth + 80, -40);

    EXPECT_EQ(pts(state.model.vertices), (std::vector<Pt>{{100, 100, true}, {kWidth - 1, 0}}));
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    // Test discovery runs this binary outside the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
