#include "canvas/canvas_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace rek {
namespace {

Qt::CursorShape resizeCursorFor(BorderEdge edge) {
    switch (edge) {
        case BorderEdge::Left:
        case BorderEdge::Right:
            return Qt::SizeHorCursor;
        case BorderEdge::Top:
        case BorderEdge::Bottom:
            return Qt::SizeVerCursor;
        case BorderEdge::TopLeft:
        case BorderEdge::BottomRight:
            return Qt::SizeFDiagCursor;
        case BorderEdge::TopRight:
        case BorderEdge::BottomLeft:
            return Qt::SizeBDiagCursor;
    }
    return Qt::ArrowCursor;
}

}  // namespace

CanvasWindow::CanvasWindow(Editor& editor, const FrameRenderer& renderer, QWidget* parent)
    : QWidget(parent), editor_(editor), renderer_(renderer) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QSize CanvasWindow::outerSizeFor(int width, int height) {
    return QSize(width + 2 * kBorder, height + 2 * kBorder);
}

QRect CanvasWindow::drawingRect() const {
    const ModelProperties& p = editor_.model().properties;
    return QRect(kBorder, kBorder, p.width, p.height);
}

Point CanvasWindow::samplePointer() const {
    QPoint local = mapFromGlobal(lastGlobal_) - QPoint(kBorder, kBorder);
    if (editor_.dragging()) {
        const ModelProperties& p = editor_.model().properties;
        local.setX(std::clamp(local.x(), 0, std::max(p.width - 1, 0)));
        local.setY(std::clamp(local.y(), 0, std::max(p.height - 1, 0)));
    }
    return Point{local.x(), local.y()};
}

void CanvasWindow::setToolCursor(const QCursor& cursor) {
    toolCursor_ = cursor;
    updateHoverCursor(mapFromGlobal(lastGlobal_));
}

void CanvasWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // A re-centred canvas (after undo, open or the properties dialog changed the size) moves
    // under a still mouse: the next click must land where the mouse is, not where it was.
    editor_.samplePointer(samplePointer());
}

void CanvasWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Before the first mouse event the pointer is wherever the desktop has it.
    if (!pointerSeen_)
        lastGlobal_ = QCursor::pos();
    editor_.samplePointer(samplePointer());
}

void CanvasWindow::notePointer(const QMouseEvent& event) {
    lastGlobal_ = event.globalPosition().toPoint();
    pointerSeen_ = true;
}

void CanvasWindow::report(const EditResult& result) {
    if (result.outOfMemory)
        emit outOfMemory();
}

void CanvasWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect outer = rect();
    // A raised sizing frame, like a window border.
    painter.fillRect(outer, palette().color(QPalette::Button));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());

    const QRect area = drawingRect();
    painter.drawImage(area.topLeft(), renderer_.surface(), QRect(QPoint(0, 0), area.size()));
}

std::optional<BorderEdge> CanvasWindow::edgeAt(QPoint position) const {
    if (drawingRect().contains(position) || !rect().contains(position))
        return std::nullopt;
    // Corners are generous, as on a window frame.
    constexpr int kCorner = 12;
    const bool left = position.x() < kCorner;
    const bool right = position.x() >= width() - kCorner;
    const bool top = position.y() < kCorner;
    const bool bottom = position.y() >= height() - kCorner;
    const bool onLeft = position.x() < kBorder;
    const bool onRight = position.x() >= width() - kBorder;
    const bool onTop = position.y() < kBorder;
    const bool onBottom = position.y() >= height() - kBorder;

    if ((onTop && left) || (onLeft && top))
        return BorderEdge::TopLeft;
    if ((onTop && right) || (onRight && top))
        return BorderEdge::TopRight;
    if ((onBottom && left) || (onLeft && bottom))
        return BorderEdge::BottomLeft;
    if ((onBottom && right) || (onRight && bottom))
        return BorderEdge::BottomRight;
    if (onLeft)
        return BorderEdge::Left;
    if (onRight)
        return BorderEdge::Right;
    if (onTop)
        return BorderEdge::Top;
    return BorderEdge::Bottom;
}

void CanvasWindow::updateHoverCursor(QPoint position) {
    std::optional<BorderEdge> edge = borderEdge_ ? borderEdge_ : edgeAt(position);
    if (editor_.dragging())
        edge.reset();
    if (edge) {
        setCursor(resizeCursorFor(*edge));
    } else {
        setCursor(toolCursor_);
    }
}

KeyModifiers CanvasWindow::modifiersOf(const QInputEvent& event) const {
    return KeyModifiers{event.modifiers().testFlag(Qt::ControlModifier),
                        event.modifiers().testFlag(Qt::ShiftModifier)};
}

void CanvasWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !editor_.dragging() && !borderEdge_) {
        if (const auto edge = edgeAt(position)) {
            borderEdge_ = edge;
            dragStartGeometry_ = geometry();
            dragStartGlobal_ = event->globalPosition().toPoint();
            const QPoint corner = mapToGlobal(drawingRect().topLeft());
            editor_.beginBorderDrag(Point{corner.x(), corner.y()});
            return;
        }
    }
    notePointer(*event);
    if (event->button() == Qt::LeftButton) {
        report(editor_.pressLeft(modifiersOf(*event)));
    } else if (event->button() == Qt::RightButton) {
        report(editor_.pressRight());
    }
    updateHoverCursor(position);
}

void CanvasWindow::mouseMoveEvent(QMouseEvent* event) {
    if (borderEdge_) {
        stepBorderDrag(event->globalPosition().toPoint());
        return;
    }
    notePointer(*event);
    const bool leftHeld = event->buttons().testFlag(Qt::LeftButton);
    report(editor_.movePointer(leftHeld, modifiersOf(*event)));
    updateHoverCursor(event->position().toPoint());
}

void CanvasWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Also after a border drag: the canvas is re-centred under the mouse that released it.
    notePointer(*event);
    if (borderEdge_) {
        finishBorderDrag();
        return;
    }
    report(editor_.releaseLeft(modifiersOf(*event)));
    updateHoverCursor(event->position().toPoint());
}

void CanvasWindow::leaveEvent(QEvent*) {
    if (!borderEdge_)
        unsetCursor();
}

void CanvasWindow::stepBorderDrag(QPoint globalPosition) {
    // The pointer stays inside the main window's area between toolbar and status bar.
    const QRect bounds(parentWidget()->mapToGlobal(QPoint(0, 0)), parentWidget()->size());
    globalPosition.setX(std::clamp(globalPosition.x(), bounds.left(), bounds.right()));
    globalPosition.setY(std::clamp(globalPosition.y(), bounds.top(), bounds.bottom()));
    const QPoint delta = globalPosition - dragStartGlobal_;

    // The drawing area as the drag proposes it, in screen coordinates, then within limits.
    const BorderEdge edge = *borderEdge_;
    const QPoint origin =
        parentWidget()->mapToGlobal(dragStartGeometry_.topLeft()) + QPoint(kBorder, kBorder);
    int left = origin.x();
    int top = origin.y();
    int right = left + dragStartGeometry_.width() - 2 * kBorder;
    int bottom = top + dragStartGeometry_.height() - 2 * kBorder;
    if (movesLeftSide(edge))
        left += delta.x();
    if (movesRightSide(edge))
        right += delta.x();
    if (movesTopSide(edge))
        top += delta.y();
    if (movesBottomSide(edge))
        bottom += delta.y();
    const AreaRect area = clampBorderDragRect({left, top, right - left, bottom - top}, edge);

    // The drawing keeps its place on the screen: when the left or top edge moves, every
    // vertex moves the other way by the same distance.
    const bool changed = editor_.borderDragStep(edge, area);
    const QPoint topLeft =
        parentWidget()->mapFromGlobal(QPoint(area.left, area.top)) - QPoint(kBorder, kBorder);
    const QRect next(topLeft, outerSizeFor(area.width, area.height));
    const bool moved = next != geometry();
    if (moved)
        setGeometry(next);
    if (changed || moved)
        emit borderDragStepped();
    update();
}

void CanvasWindow::finishBorderDrag() {
    const QSize area = size() - QSize(2 * kBorder, 2 * kBorder);
    borderEdge_.reset();
    editor_.endBorderDrag(area.width(), area.height());
    emit borderDragFinished();
    updateHoverCursor(mapFromGlobal(lastGlobal_));
}

}  // namespace rek
