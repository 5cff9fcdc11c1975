#include "reference_capsule.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace rek::test {

namespace {

constexpr double kClipMin = -4096.0;
constexpr double kClipMax = 4096.0 + 800.0;
constexpr double kSampleOffset = 0.5 + 1.0 / 1024.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

int floorToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated - (value < truncated ? 1 : 0);
}

int ceilToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated + (value > truncated ? 1 : 0);
}

bool insideClipBox(QPointF point) {
    return point.x() >= kClipMin && point.x() <= kClipMax && point.y() >= kClipMin &&
           point.y() <= kClipMax;
}

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

void fillCapsule(QImage& image, QPointF from, QPointF to, double radius, QRgb color) {
    const double ax = from.x() - kSampleOffset;
    const double ay = from.y() - kSampleOffset;
    const double bx = to.x() - kSampleOffset;
    const double by = to.y() - kSampleOffset;
    const int imageWidth = image.width();
    const int imageHeight = image.height();
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
        const int first = std::max(0, ceilToInt(std::max(low, -1.0)));
        const int last =
            std::min(imageWidth - 1, floorToInt(std::min(high, static_cast<double>(imageWidth))));
        if (first > last)
            continue;
        QRgb* row = reinterpret_cast<QRgb*>(image.bits() + y * image.bytesPerLine());
        std::fill(row + first, row + last + 1, color);
    }
}

}  // namespace

void referenceLine(QImage& image, QPointF from, QPointF to, int width, QRgb color) {
    if (!(insideClipBox(from) && insideClipBox(to)) && !clipToBox(from, to))
        return;
    fillCapsule(image, from, to, std::max(width, 1) / 2.0, color);
}

void referenceDot(QImage& image, QPointF center, int diameter, QRgb color) {
    if (!insideClipBox(center))
        return;
    fillCapsule(image, center, center, std::max(diameter, 1) / 2.0, color);
}

}  // namespace rek::test
