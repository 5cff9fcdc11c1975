#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <optional>

#include "model/color_rgb.h"
#include "render/step_spans.h"

namespace rek {

// Draws aliased solid lines with round ends, outlines and dots straight into an image: what
// the overlays need, and the plain form of what the frame passes draw.
//
// Lines and dots are scan-converted here directly into the image (see render/capsule.h), which
// gives round ends and lets every segment be drawn on its own. This is many times faster than
// stroking each segment as a path. The whole-pixel steps that make up most strokes are copied
// from the step tables, which belong to whoever keeps the painter's state between uses.
// Outlines of rectangles and ellipses are rare and left to QPainter, started only for them.
class RasterPainter {
  public:
    RasterPainter(QImage& image, SpanTables& tables);

    RasterPainter(const RasterPainter&) = delete;
    RasterPainter& operator=(const RasterPainter&) = delete;

    // Solid pen with round ends for the following lines and outlines.
    void setPen(ColorRgb color, int width);
    void moveTo(QPointF point) { current_ = point; }
    // A line from the current position to `point`, which becomes the current position.
    void lineTo(QPointF point);

    // A filled round dot, as a zero-length line of a round pen of that width paints.
    void dot(QPointF center, int diameter, ColorRgb color);
    // Outlines with the current pen; the corners are opposite corners, in any order.
    void rectOutline(QPointF corner1, QPointF corner2);
    void ellipseOutline(QPointF corner1, QPointF corner2);
    // One-pixel rectangle outline through both corners (inclusive), alternating black and white
    // pixel by pixel around the outline, starting black at the top-left.
    void dottedRectOutline(QPoint corner1, QPoint corner2);

  private:
    void fillCapsule(QPointF from, QPointF to, int diameter, QRgb color);
    // Whether the step from `from` to `to` (whole pixels) was drawn from the step table.
    bool fillStep(QPointF from, QPointF to, int diameter, QRgb color);
    void fillAnyCapsule(QPointF from, QPointF to, double radius, QRgb color);
    QPainter& outlinePainter();

    QImage& image_;
    SpanTables& tables_;
    std::optional<QPainter> painter_;
    uchar* bits_;
    qsizetype bytesPerLine_;
    int width_;
    int height_;
    ColorRgb penColor_;
    QRgb penRgb_ = 0;
    int penWidth_ = 1;
    int penDiameter_ = 1;
    QPointF current_;
};

}  // namespace rek
