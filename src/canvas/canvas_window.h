#pragma once

#include <QCursor>
#include <QInputEvent>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <optional>

#include "canvas/border_drag.h"
#include "canvas/editor.h"
#include "render/frame_renderer.h"

namespace rek {

// The widget the model is drawn and edited on: the drawing area, framed by a sizing border
// that the user drags to resize the canvas. Frames come from the renderer's surface; mouse
// input goes to the editor, whose tools read the pointer sampled at each frame.
class CanvasWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kBorder = 4;  // width of the sizing border around the drawing area

    CanvasWindow(Editor& editor, const FrameRenderer& renderer, QWidget* parent = nullptr);

    // Outer size of a canvas whose drawing area is width x height.
    static QSize outerSizeFor(int width, int height);

    // The pointer as the tools see it, in canvas coordinates: where the mouse last was, seen
    // from where the canvas is now. During a drag it stays inside the drawing area, which
    // stands in for confining the real pointer.
    Point samplePointer() const;

    // The cursor shown over the drawing area (the border shows resize cursors).
    void setToolCursor(const QCursor& cursor);

  signals:
    // After a mouse event that reached the tools: a vertex could not be added.
    void outOfMemory();
    // During a border drag the drawing moved or the canvas was resized: draw a frame at once.
    void borderDragStepped();
    // The border drag ended: the canvas is re-centred for the model's new size.
    void borderDragFinished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QRect drawingRect() const;
    std::optional<BorderEdge> edgeAt(QPoint position) const;
    void updateHoverCursor(QPoint position);
    void stepBorderDrag(QPoint globalPosition);
    void finishBorderDrag();
    void report(const EditResult& result);
    void notePointer(const QMouseEvent& event);
    KeyModifiers modifiersOf(const QInputEvent& event) const;

    Editor& editor_;
    const FrameRenderer& renderer_;
    QCursor toolCursor_;
    // Where the mouse was last seen, on the screen: the canvas may move under a still mouse.
    QPoint lastGlobal_;
    bool pointerSeen_ = false;

    std::optional<BorderEdge> borderEdge_;
    QRect dragStartGeometry_;  // in parent coordinates
    QPoint dragStartGlobal_;
};

}  // namespace rek
