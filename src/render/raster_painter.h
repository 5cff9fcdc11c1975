#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>
#include <cstdint>
#include <vector>

#include "model/color_rgb.h"

namespace rek {

// Every raw drawing call of the renderer goes through here: aliased solid lines with round
// ends, outlines, dots and fills on the off-screen surface. The passes know nothing of the
// drawing library.
//
// Lines and dots are scan-converted here directly into the image: a line is the set of pixels
// whose sample point lies within half the pen width of the segment, which gives round ends and
// lets every segment be drawn on its own. This is many times faster than stroking each
// segment as a path. The short whole-pixel steps that make up most strokes are copied from a
// table of spans built once per direction and pen width. Outlines of rectangles and ellipses are
// rare and left to QPainter.
class RasterPainter {
  public:
    explicit RasterPainter(QImage& image);

    RasterPainter(const RasterPainter&) = delete;
    RasterPainter& operator=(const RasterPainter&) = delete;

    void fillRect(int x, int y, int width, int height, ColorRgb color);

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
    // The spans of every short whole-pixel step of one pen diameter, filled in as steps are
    // met; see raster_painter.cpp.
    struct StepSpans {
        struct Step {
            std::int32_t firstSpan = 0;
            std::int16_t firstRow = 0;   // relative to the step's start
            std::int16_t rowCount = -1;  // kNotBuilt or kNotShiftable when negative
        };
        struct Span {
            std::int32_t low;
            std::int32_t high;
        };
        int diameter = 0;
        std::vector<Step> steps;
        std::vector<Span> spans;
    };

    void fillCapsule(QPointF from, QPointF to, int diameter, QRgb color);
    // Whether the step from `from` to `to` (whole pixels) was drawn from the step table.
    bool fillStep(QPointF from, QPointF to, int diameter, QRgb color);
    StepSpans& stepSpans(int diameter);
    static void buildStep(StepSpans& table, StepSpans::Step& step, int dx, int dy);
    void fillAnyCapsule(QPointF from, QPointF to, double radius, QRgb color);

    QImage& image_;
    QPainter painter_;
    uchar* bits_;
    qsizetype bytesPerLine_;
    int width_;
    int height_;
    QRgb penColor_ = 0;
    int penDiameter_ = 1;
    QPointF current_;
    // A frame draws with two diameters: the pen's and the marker dots'.
    StepSpans stepSpans_[2];
    int nextStepSpans_ = 0;
};

}  // namespace rek
