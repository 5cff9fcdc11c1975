#include "render/raster_painter.h"

#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace rek {

namespace {

// Coordinates can come from files anywhere in the 32-bit range. Lines are clipped to a box
// well outside the surface before they are scan-converted, so the arithmetic stays exact
// enough and the loops stay short; within the box nothing visible changes.
constexpr double kClipMin = -4096.0;
constexpr double kClipMax = 4096.0 + 800.0;

// A pixel (x, y) is sampled at (x + 0.5 + bias, y + 0.5 + bias). The small bias breaks ties
// on pixel edges the same way on both sides, so a line of width w covers w rows or columns.
constexpr double kSampleOffset = 0.5 + 1.0 / 1024.0;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// floor and ceil for values well inside the int range, without a library call.
int floorToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated - (value < truncated ? 1 : 0);
}

int ceilToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated + (value > truncated ? 1 : 0);
}

QColor toQColor(ColorRgb color) {
    return QColor(color.red, color.green, color.blue);
}

QRgb toRgb(ColorRgb color) {
    return qRgb(color.red, color.green, color.blue);
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

RasterPainter::RasterPainter(QImage& image)
    : image_(image), painter_(&image), bits_(image.bits()), bytesPerLine_(image.bytesPerLine()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
}

void RasterPainter::fillRect(int x, int y, int width, int height, ColorRgb color) {
    painter_.fillRect(x, y, width, height, toQColor(color));
}

void RasterPainter::setPen(ColorRgb color, int width) {
    penColor_ = toRgb(color);
    penRadius_ = std::max(width, 1) / 2.0;
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
    fillCapsule(from, to, penRadius_, penColor_);
}

void RasterPainter::dot(QPointF center, int diameter, ColorRgb color) {
    if (!insideClipBox(center))
        return;
    fillCapsule(center, center, std::max(diameter, 1) / 2.0, toRgb(color));
}

void RasterPainter::fillCapsule(QPointF from, QPointF to, double radius, QRgb color) {
    // In sample space pixel (x, y) is inside when its integer position is within `radius` of
    // the segment. The shape is convex, so each row is one span: the union of the spans of
    // the two end discs and of the body.
    const double ax = from.x() - kSampleOffset;
    const double ay = from.y() - kSampleOffset;
    const double bx = to.x() - kSampleOffset;
    const double by = to.y() - kSampleOffset;
    const int imageWidth = image_.width();
    const int imageHeight = image_.height();
    const int firstRow = std::max(0, ceilToInt(std::min(ay, by) - radius));
    const int lastRow = std::min(imageHeight - 1, floorToInt(std::max(ay, by) + radius));
    if (firstRow > lastRow)
        return;

    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double ux = length > 0.0 ? dx / length : 0.0;
    const double uy = length > 0.0 ? dy / length : 0.0;
    const double radiusSquared = radius * radius;
    const double inverseUx = ux != 0.0 ? 1.0 / ux : 0.0;
    const double inverseUy = uy != 0.0 ? 1.0 / uy : 0.0;
    const double acrossHalf = std::abs(radius * inverseUy);

    for (int y = firstRow; y <= lastRow; ++y) {
        double low = kInfinity;
        double high = -kInfinity;
        const double fromA = y - ay;
        if (fromA * fromA <= radiusSquared) {
            const double half = std::sqrt(radiusSquared - fromA * fromA);
            low = ax - half;
            high = ax + half;
        }
        const double fromB = y - by;
        if (fromB * fromB <= radiusSquared) {
            const double half = std::sqrt(radiusSquared - fromB * fromB);
            low = std::min(low, bx - half);
            high = std::max(high, bx + half);
        }
        if (length > 0.0) {
            // Along the segment: 0 <= (x - ax) * ux + fromA * uy <= length.
            // Across it: -radius <= -(x - ax) * uy + fromA * ux <= radius.
            double bodyLow = -kInfinity;
            double bodyHigh = kInfinity;
            if (ux != 0.0) {
                const double start = ax - fromA * uy * inverseUx;
                const double end = start + length * inverseUx;
                bodyLow = std::min(start, end);
                bodyHigh = std::max(start, end);
            } else if (fromA * uy < 0.0 || fromA * uy > length) {
                bodyLow = kInfinity;
            }
            if (uy != 0.0) {
                const double middle = ax + fromA * ux * inverseUy;
                bodyLow = std::max(bodyLow, middle - acrossHalf);
                bodyHigh = std::min(bodyHigh, middle + acrossHalf);
            } else if (std::abs(fromA * ux) > radius) {
                bodyLow = kInfinity;
            }
            if (bodyLow <= bodyHigh) {
                low = std::min(low, bodyLow);
                high = std::max(high, bodyHigh);
            }
        }
        if (!(low <= high))
            continue;
        // The spans lie within the clip box; clamping first keeps the conversions defined.
        const int first = std::max(0, ceilToInt(std::max(low, -1.0)));
        const int last =
            std::min(imageWidth - 1, floorToInt(std::min(high, static_cast<double>(imageWidth))));
        if (first > last)
            continue;
        QRgb* row = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_);
        std::fill(row + first, row + last + 1, color);
    }
}

void RasterPainter::rectOutline(QPointF corner1, QPointF corner2) {
    painter_.drawRect(rectThrough(corner1, corner2));
}

void RasterPainter::ellipseOutline(QPointF corner1, QPointF corner2) {
    painter_.drawEllipse(rectThrough(corner1, corner2));
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
