#include "render/raster_painter.h"

#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/capsule.h"

namespace rek {

using namespace capsule;

namespace {

// Pixels first..last of a row; nothing when last < first. Most spans of a frame are a few
// pixels long, so they are written with at most three stores and few branches.
inline void fillPixels(QRgb* row, int first, int last, QRgb color) {
    const int count = last - first + 1;
    if (count <= 0)
        return;
    QRgb* pixels = row + first;
    if (count < 4) {
        pixels[0] = color;
        pixels[count / 2] = color;
        pixels[count - 1] = color;
        return;
    }
    if (count <= 8) {
        const QRgb four[4] = {color, color, color, color};
        std::memcpy(pixels, four, sizeof four);
        std::memcpy(pixels + count - 4, four, sizeof four);
        return;
    }
    std::fill(pixels, pixels + count, color);
}

QColor toQColor(ColorRgb color) {
    return QColor(color.red, color.green, color.blue);
}

QRgb toRgb(ColorRgb color) {
    return qRgb(color.red, color.green, color.blue);
}

// Only called inside the clip box, where the conversion is defined.
bool isWholePixel(QPointF point) {
    return static_cast<int>(point.x()) == point.x() && static_cast<int>(point.y()) == point.y();
}

QRectF rectThrough(QPointF corner1, QPointF corner2) {
    auto clampToBox = [](QPointF p) {
        return QPointF(std::clamp(p.x(), kClipMin, kClipMax),
                       std::clamp(p.y(), kClipMin, kClipMax));
    };
    return QRectF(clampToBox(corner1), clampToBox(corner2)).normalized();
}

}  // namespace

RasterPainter::RasterPainter(QImage& image, SpanTables& tables)
    : image_(image),
      tables_(tables),
      bits_(image.bits()),
      bytesPerLine_(image.bytesPerLine()),
      width_(image.width()),
      height_(image.height()) {}

QPainter& RasterPainter::outlinePainter() {
    if (!painter_) {
        painter_.emplace(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setBrush(Qt::NoBrush);
    }
    QPen pen(toQColor(penColor_));
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_->setPen(pen);
    return *painter_;
}

void RasterPainter::setPen(ColorRgb color, int width) {
    penColor_ = color;
    penRgb_ = toRgb(color);
    penWidth_ = width;
    penDiameter_ = std::max(width, 1);
}

void RasterPainter::lineTo(QPointF point) {
    const QPointF from = current_;
    current_ = point;
    if (insideClipBox(from) && insideClipBox(point)) {
        fillCapsule(from, point, penDiameter_, penRgb_);
        return;
    }
    // Apart from the common case above, so the points can stay in registers there.
    QPointF clippedFrom = from;
    QPointF clippedTo = point;
    if (clipToBox(clippedFrom, clippedTo))
        fillCapsule(clippedFrom, clippedTo, penDiameter_, penRgb_);
}

void RasterPainter::dot(QPointF center, int diameter, ColorRgb color) {
    if (!insideClipBox(center))
        return;
    fillCapsule(center, center, std::max(diameter, 1), toRgb(color));
}

void RasterPainter::fillCapsule(QPointF from, QPointF to, int diameter, QRgb color) {
    if (isWholePixel(from) && isWholePixel(to) &&
        StepSpans::fits(static_cast<int>(to.x() - from.x()), static_cast<int>(to.y() - from.y()),
                        diameter) &&
        fillStep(from, to, diameter, color)) {
        return;
    }
    fillAnyCapsule(from, to, diameter / 2.0, color);
}

bool RasterPainter::fillStep(QPointF from, QPointF to, int diameter, QRgb color) {
    const int fromX = static_cast<int>(from.x());
    const int fromY = static_cast<int>(from.y());
    StepSpans& table = tables_.forDiameter(diameter);
    const StepSpans::Step& step =
        table.step(static_cast<int>(to.x()) - fromX, static_cast<int>(to.y()) - fromY);
    if (!step.shiftable())
        return false;

    // Locals, as the pixel stores could otherwise alias the members.
    const int lastColumn = width_ - 1;
    const qsizetype bytesPerLine = bytesPerLine_;
    const int top = fromY + step.firstRow;
    const int begin = std::max(0, -top);
    const int end = std::min<int>(step.rowCount, height_ - top);
    const StepSpans::Span* spans = table.spans(step);
    uchar* rowBits = bits_ + static_cast<qsizetype>(top + begin) * bytesPerLine;
    for (int i = begin; i < end; ++i, rowBits += bytesPerLine) {
        fillPixels(reinterpret_cast<QRgb*>(rowBits), std::max(0, fromX + spans[i].low),
                   std::min(lastColumn, fromX + spans[i].high), color);
    }
    return true;
}

void RasterPainter::fillAnyCapsule(QPointF from, QPointF to, double radius, QRgb color) {
    const Capsule c = capsuleOf(from, to, radius);
    const int firstRow = std::max(0, firstRowOf(c));
    const int lastRow = std::min(height_ - 1, lastRowOf(c));
    for (int y = firstRow; y <= lastRow; ++y) {
        const Columns columns = columnsOf(rowSpan(c, y), 0, width_ - 1);
        fillPixels(reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_), columns.first, columns.last,
                   color);
    }
}

void RasterPainter::rectOutline(QPointF corner1, QPointF corner2) {
    outlinePainter().drawRect(rectThrough(corner1, corner2));
}

void RasterPainter::ellipseOutline(QPointF corner1, QPointF corner2) {
    outlinePainter().drawEllipse(rectThrough(corner1, corner2));
}

void RasterPainter::dottedRectOutline(QPoint corner1, QPoint corner2) {
    const int width = image_.width();
    const int height = image_.height();
    const int left = std::clamp(std::min(corner1.x(), corner2.x()), -1, width);
    const int right = std::clamp(std::max(corner1.x(), corner2.x()), -1, width);
    const int top = std::clamp(std::min(corner1.y(), corner2.y()), -1, height);
    const int bottom = std::clamp(std::max(corner1.y(), corner2.y()), -1, height);
    long index = 0;
    auto plot = [&](int x, int y) {
        const QRgb color = (index++ % 2 == 0) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_)[x] = color;
    };
    // Clockwise from the top-left corner, each pixel once.
    for (int x = left; x <= right; ++x)
        plot(x, top);
    for (int y = top + 1; y <= bottom; ++y)
        plot(right, y);
    if (bottom > top) {
        for (int x = right - 1; x >= left; --x)
            plot(x, bottom);
    }
    if (right > left) {
        for (int y = bottom - 1; y > top; --y)
            plot(left, y);
    }
}

}  // namespace rek
