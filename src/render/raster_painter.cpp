#include "render/raster_painter.h"

#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>

namespace rek {

namespace {

// Lines are queued in chunks of this many; the queue is reserved once and never grows.
constexpr std::size_t kQueueChunk = 2048;

// Coordinates can come from files anywhere in the 32-bit range. Lines are clipped to a box
// well outside the surface before they reach the rasterizer, whose fixed-point arithmetic
// would overflow; within the box nothing visible changes.
constexpr double kClipMin = -4096.0;
constexpr double kClipMax = 4096.0 + 800.0;

QColor toQColor(ColorRgb color) {
    return QColor(color.red, color.green, color.blue);
}

bool insideClipBox(QPointF point) {
    return point.x() >= kClipMin && point.x() <= kClipMax && point.y() >= kClipMin &&
           point.y() <= kClipMax;
}

// Liang-Barsky clipping of the segment to the clip box. Returns false when nothing is left.
bool clipToBox(QPointF& from, QPointF& to) {
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x() - kClipMin, kClipMax - from.x(), from.y() - kClipMin,
                         kClipMax - from.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
        if (enter > leave)
            return false;
    }
    const QPointF start = from;
    from = QPointF(start.x() + enter * dx, start.y() + enter * dy);
    to = QPointF(start.x() + leave * dx, start.y() + leave * dy);
    return true;
}

QRectF rectThrough(QPointF corner1, QPointF corner2) {
    auto clampToBox = [](QPointF p) {
        return QPointF(std::clamp(p.x(), kClipMin, kClipMax),
                       std::clamp(p.y(), kClipMin, kClipMax));
    };
    return QRectF(clampToBox(corner1), clampToBox(corner2)).normalized();
}

}  // namespace

RasterPainter::RasterPainter(QImage& image, std::vector<QLineF>& lineQueue)
    : image_(image), painter_(&image), queue_(lineQueue) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
    queue_.clear();
    queue_.reserve(kQueueChunk);
}

RasterPainter::~RasterPainter() {
    flush();
    painter_.end();
}

void RasterPainter::fillRect(int x, int y, int width, int height, ColorRgb color) {
    flush();
    painter_.fillRect(x, y, width, height, toQColor(color));
}

void RasterPainter::setPen(ColorRgb color, int width) {
    flush();
    QPen pen(toQColor(color));
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void RasterPainter::lineTo(QPointF point) {
    QPointF from = current_;
    QPointF to = point;
    current_ = point;
    if (!(insideClipBox(from) && insideClipBox(to)) && !clipToBox(from, to))
        return;
    queue_.emplace_back(from, to);
    if (queue_.size() >= kQueueChunk)
        flush();
}

void RasterPainter::flush() {
    if (queue_.empty())
        return;
    painter_.drawLines(queue_.data(), static_cast<int>(queue_.size()));
    queue_.clear();
}

void RasterPainter::dot(QPointF center, int diameter, ColorRgb color) {
    flush();
    if (!insideClipBox(center))
        return;
    const QPen previous = painter_.pen();
    QPen pen(toQColor(color));
    pen.setWidth(diameter);
    pen.setCapStyle(Qt::RoundCap);
    painter_.setPen(pen);
    painter_.drawPoint(center);
    painter_.setPen(previous);
}

void RasterPainter::rectOutline(QPointF corner1, QPointF corner2) {
    flush();
    painter_.drawRect(rectThrough(corner1, corner2));
}

void RasterPainter::ellipseOutline(QPointF corner1, QPointF corner2) {
    flush();
    painter_.drawEllipse(rectThrough(corner1, corner2));
}

void RasterPainter::dottedRectOutline(QPoint corner1, QPoint corner2) {
    flush();
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
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = color;
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
