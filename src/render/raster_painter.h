#pragma once

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPointF>
#include <vector>

#include "model/color_rgb.h"

namespace rek {

// Every raw drawing call of the renderer goes through here: aliased solid lines with round
// ends, outlines, dots and fills on the off-screen surface. The passes know nothing of the
// drawing library, so a faster rasterizer can take its place.
//
// Lines are queued and drawn in batches; each stays a separate line with its own round ends.
// The queue is borrowed from the caller and keeps its capacity between frames.
class RasterPainter {
  public:
    RasterPainter(QImage& image, std::vector<QLineF>& lineQueue);
    ~RasterPainter();

    RasterPainter(const RasterPainter&) = delete;
    RasterPainter& operator=(const RasterPainter&) = delete;

    void fillRect(int x, int y, int width, int height, ColorRgb color);

    // Solid pen with round ends for the following lines and outlines.
    void setPen(ColorRgb color, int width);
    void moveTo(QPointF point) { current_ = point; }
    // A line from the current position to `point`, which becomes the current position.
    void lineTo(QPointF point);

    // A filled round dot, as a zero-length line of a round pen of that width would paint.
    void dot(QPointF center, int diameter, ColorRgb color);
    // Outlines with the current pen; the corners are opposite corners, in any order.
    void rectOutline(QPointF corner1, QPointF corner2);
    void ellipseOutline(QPointF corner1, QPointF corner2);
    // One-pixel rectangle outline through both corners (inclusive), alternating black and white
    // pixel by pixel around the outline, starting black at the top-left.
    void dottedRectOutline(QPoint corner1, QPoint corner2);

    // Draws every queued line.
    void flush();

  private:
    QImage& image_;
    QPainter painter_;
    std::vector<QLineF>& queue_;
    QPointF current_;
};

}  // namespace rek
