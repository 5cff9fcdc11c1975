#include "canvas/canvas_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "canvas_test_support.h"

namespace rek {
namespace {

using test::Pt;
using test::pts;

constexpr int kWidth = 400;
constexpr int kHeight = 300;
// Where the canvas sits in its parent: room on every side for a border drag.
constexpr QPoint kCanvasOrigin(250, 200);

// Drives the canvas with real mouse events. The tools read the pointer that the last frame
// sampled, so every move is followed by a frame, as the frame timer does.
class CanvasDriver {
  public:
    CanvasDriver(Editor& editor, FrameRenderer& renderer) : editor_(editor), renderer_(renderer) {}

    static QPoint local(int x, int y) {
        return QPoint(x + CanvasWindow::kBorder, y + CanvasWindow::kBorder);
    }

    void frame() { editor_.frameTick(renderer_, canvas->samplePointer()); }

    // A move in canvas coordinates with the held buttons, then a frame.
    void moveTo(int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        sendMove(local(x, y), keys);
        frame();
    }

    void sendMove(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, held, keys);
        QApplication::sendEvent(canvas, &move);
    }
    void sendMoveGlobal(QPoint global) { sendMove(canvas->mapFromGlobal(global)); }

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
        if (editor_.toolMode() != mode)
            editor_.setToolMode(mode);
        press(from.x(), from.y(), keys);
        moveTo((from.x() + to.x()) / 2, (from.y() + to.y()) / 2, keys);
        moveTo(to.x(), to.y(), keys);
        release(to.x(), to.y(), keys);
    }

    Qt::MouseButtons held = Qt::NoButton;
    CanvasWindow* canvas = nullptr;

  private:
    Editor& editor_;
    FrameRenderer& renderer_;
};

// The canvas inside a plain parent that leaves it where it is.
class CanvasWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        parent.resize(900, 700);
        canvas = new CanvasWindow(editor, renderer, &parent);
        canvas->setGeometry(QRect(kCanvasOrigin, CanvasWindow::outerSizeFor(kWidth, kHeight)));
        driver.canvas = canvas;
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    std::vector<Pt> drawing() const { return pts(editor.model().vertices); }

    Editor editor{test::canvasOfSize(kWidth, kHeight)};
    FrameRenderer renderer;
    CanvasDriver driver{editor, renderer};
    QWidget parent;
    CanvasWindow* canvas = nullptr;  // owned by parent
};

// Right clicks add vertices; the tools read the pointer the last frame sampled, not the
// event's position.
TEST_F(CanvasWidgetTest, StraightLineTakesRightClicksAndTheSampledPointer) {
    driver.press(10, 10);
    EXPECT_TRUE(editor.dragging());
    driver.moveTo(50, 10);
    driver.rightClick(50, 10);
    driver.moveTo(80, 30);
    // Moved on, but no frame sampled the new position before the button came up.
    driver.sendMove(CanvasDriver::local(200, 200));
    driver.release(200, 200);

    EXPECT_EQ(drawing(), (std::vector<Pt>{{10, 10, true}, {50, 10}, {80, 30}}));
    EXPECT_FALSE(editor.dragging());
    EXPECT_EQ(test::recorded(editor), 1u);
}

TEST_F(CanvasWidgetTest, PlainCtrlAndShiftBandsSelect) {
    test::loadDrawing(editor, test::strokes({{{20, 20}, {40, 40}}, {{200, 200}, {210, 200}}}));
    driver.drag(ToolMode::RangeSelect, {10, 10}, {50, 50});
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{true, true, false, false}));
    driver.drag(ToolMode::RangeSelect, {190, 190}, {220, 210}, Qt::ControlModifier);
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{true, true, true, true}));
    driver.drag(ToolMode::RangeSelect, {35, 35}, {205, 205}, Qt::ShiftModifier);
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{true, false, false, true}));
    driver.drag(ToolMode::RangeSelect, {190, 190}, {205, 205});
    EXPECT_EQ(test::selectedFlags(editor), (std::vector<bool>{false, false, true, false}));
}

TEST_F(CanvasWidgetTest, TopBorderDraggedUpGrowsTheCanvasAndKeepsTheDrawingInPlace) {
    test::loadDrawing(editor, test::strokes({{{10, 20}, {300, 250}}}));
    QSignalSpy stepped(canvas, &CanvasWindow::borderDragStepped);
    QSignalSpy finished(canvas, &CanvasWindow::borderDragFinished);

    const QPoint grab(canvas->width() / 2, 1);
    const QPoint grabGlobal = canvas->mapToGlobal(grab);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, grab);
    EXPECT_TRUE(editor.borderDragActive());
    EXPECT_FALSE(editor.dragging()) << "the border is not the drawing area";

    // The canvas moves under the pointer, so the events are placed on the screen.
    driver.held = Qt::LeftButton;
    driver.sendMoveGlobal(grabGlobal + QPoint(3, -10));
    driver.sendMoveGlobal(grabGlobal + QPoint(5, -30));
    EXPECT_GE(stepped.size(), 1);
    EXPECT_EQ(canvas->geometry().top(), kCanvasOrigin.y() - 30);
    EXPECT_EQ(canvas->height(), CanvasWindow::outerSizeFor(kWidth, kHeight + 30).height());
    driver.held = Qt::NoButton;
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier,
                        canvas->mapFromGlobal(grabGlobal + QPoint(5, -30)));

    EXPECT_FALSE(editor.borderDragActive());
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(editor.model().properties.height, kHeight + 30);
    EXPECT_EQ(editor.model().properties.width, kWidth);
    EXPECT_EQ(drawing(), (std::vector<Pt>{{10, 50, true}, {300, 280}}));
}

TEST_F(CanvasWidgetTest, SampledPointerStaysInsideTheDrawingAreaDuringADrag) {
    // Outside a drag the pointer is taken as it comes.
    driver.moveTo(-20, 500);
    EXPECT_EQ(editor.pointer(), (Point{-20, 500}));

    driver.press(100, 100);
    driver.moveTo(-50, 1000);
    EXPECT_EQ(editor.pointer(), (Point{0, kHeight - 1}));
    driver.moveTo(kWidth + 80, -40);
    EXPECT_EQ(editor.pointer(), (Point{kWidth - 1, 0}));
    driver.release(kWidth + 80, -40);

    EXPECT_EQ(drawing(), (std::vector<Pt>{{100, 100, true}, {kWidth - 1, 0}}));
}

// The canvas in a parent that keeps it centred, as the main window does: a new canvas size
// re-centres it at once and, unless `framesOnResize` is off, draws a frame straight after; the
// end of a border drag re-centres it without a frame.
class CentredCanvasTest : public ::testing::Test {
  protected:
    void SetUp() override {
        parent.resize(900, 700);
        canvas = new CanvasWindow(editor, renderer, &parent);
        driver.canvas = canvas;
        centre();
        QObject::connect(canvas, &CanvasWindow::borderDragFinished, &parent, [this] { centre(); });
        QObject::connect(&editor, &Editor::changed, &parent, [this](const EditorChanges& c) {
            if (!c.canvasSize || editor.borderDragActive())
                return;
            centre();
            if (framesOnResize)
                driver.frame();
        });
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    void centre() {
        const ModelProperties& p = editor.model().properties;
        const QSize outer = CanvasWindow::outerSizeFor(p.width, p.height);
        canvas->setGeometry((parent.width() - outer.width()) / 2,
                            (parent.height() - outer.height()) / 2, outer.width(), outer.height());
    }

    // Undo takes a 400 x 300 canvas back to 200 x 150 while the mouse rests at (150, 100);
    // then the button goes down without a move. Returns where the mouse is on the smaller
    // canvas.
    Point clickAfterUndoShrinksTheCanvas() {
        editor.acceptProperties(test::canvasOfSize(400, 300), true);
        driver.moveTo(150, 100);
        const QPoint mouse = canvas->mapToGlobal(CanvasDriver::local(150, 100));

        EXPECT_TRUE(editor.undo());
        EXPECT_EQ(canvas->size(), CanvasWindow::outerSizeFor(200, 150));
        const QPoint now = canvas->mapFromGlobal(mouse);
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, now);
        driver.held = Qt::LeftButton;
        return Point{now.x() - CanvasWindow::kBorder, now.y() - CanvasWindow::kBorder};
    }

    Editor editor{test::canvasOfSize(200, 150)};
    FrameRenderer renderer;
    CanvasDriver driver{editor, renderer};
    QWidget parent;
    CanvasWindow* canvas = nullptr;  // owned by parent
    bool framesOnResize = true;
};

TEST_F(CentredCanvasTest, ClickAfterTheCanvasMovedLandsWhereTheMouseIsNow) {
    const Point mouse = clickAfterUndoShrinksTheCanvas();
    ASSERT_EQ(mouse, (Point{50, 25}));
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{50, 25, true}}));

    driver.moveTo(120, 25);
    driver.release(120, 25);
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{50, 25, true}, {120, 25}}));
}

TEST_F(CentredCanvasTest, ClickBeforeAnyFrameAfterTheMoveLandsWhereTheMouseIsNow) {
    // Re-centred without a frame, as after a border drag: the move itself resamples.
    framesOnResize = false;
    const Point mouse = clickAfterUndoShrinksTheCanvas();
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{mouse.x, mouse.y, true}}));
    driver.release(mouse.x, mouse.y);
}

TEST_F(CentredCanvasTest, ClickAfterABorderDragLandsWhereTheMouseIsNow) {
    editor.acceptProperties(test::canvasOfSize(400, 300), true);
    // The right border pulled 200 pixels to the left: the canvas is re-centred when the button
    // comes up, and the mouse that released the border is over the drawing area then.
    const QPoint grab(CanvasWindow::outerSizeFor(400, 300).width() - 3, 150);
    driver.sendMove(grab);
    driver.frame();
    const QPoint grabGlobal = canvas->mapToGlobal(grab);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, grab);
    driver.held = Qt::LeftButton;
    driver.sendMoveGlobal(grabGlobal - QPoint(200, 0));
    driver.held = Qt::NoButton;
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier,
                        canvas->mapFromGlobal(grabGlobal - QPoint(200, 0)));
    ASSERT_EQ(editor.model().properties.width, 200);
    const QPoint now = canvas->mapFromGlobal(grabGlobal - QPoint(200, 0));
    const Point mouse{now.x() - CanvasWindow::kBorder, now.y() - CanvasWindow::kBorder};
    ASSERT_TRUE(mouse.x >= 0 && mouse.x < 200) << mouse.x;

    driver.frame();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, now);
    EXPECT_EQ(pts(editor.model().vertices), (std::vector<Pt>{{mouse.x, mouse.y, true}}));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, now);
}

}  // namespace
}  // namespace rek
