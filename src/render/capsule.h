#pragma once

// The scan conversion of one line of a round pen, shared by the painter, the step tables and
// the coverage mask, so that every path computes a row with the very same arithmetic.
//
// A line is the set of pixels whose sample point lies within half the pen width of the
// segment: a capsule, convex, so each row of it is one span.

#include <QPointF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace rek::capsule {

// Coordinates can come from files anywhere in the 32-bit range. Lines are clipped to a box
// well outside the surface before they are scan-converted, so the arithmetic stays exact
// enough and the loops stay short; within the box nothing visible changes.
inline constexpr double kClipMin = -4096.0;
inline constexpr double kClipMax = 4096.0 + 800.0;

// A pixel (x, y) is sampled at (x + 0.5 + bias, y + 0.5 + bias). The small bias breaks ties
// on pixel edges the same way on both sides, so a line of width w covers w rows or columns.
inline constexpr double kSampleOffset = 0.5 + 1.0 / 1024.0;

// A capsule with whole-pixel ends, moved by whole pixels, keeps its pixels (moved along) as
// long as no span end lies within kShiftMargin of a whole number: moving only changes the
// rounding of the sums with the position, by far less than that inside the clip box.
inline constexpr double kShiftMargin = 1e-9;

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// floor and ceil for values well inside the int range, without a library call.
inline int floorToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated - (value < truncated ? 1 : 0);
}

inline int ceilToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated + (value > truncated ? 1 : 0);
}

// Within kShiftMargin of a whole number; infinities (no span) count as far. Without a library
// call, as every row of a long line asks.
inline bool nearWholeNumber(double value) {
    if (!(std::abs(value) < 1e15))
        return false;
    const double fraction = std::abs(value - static_cast<double>(static_cast<long long>(value)));
    return fraction <= kShiftMargin || fraction >= 1.0 - kShiftMargin;
}

// A segment in sample space, where pixel (x, y) is inside when its integer position is within
// `radius` of the segment, and what all its rows share.
struct Capsule {
    double ax;
    double ay;
    double bx;
    double by;
    double radius;
    double radiusSquared;
    double length;
    double ux;
    double uy;
    double inverseUx;
    double inverseUy;
    double acrossHalf;
};

inline Capsule capsuleOf(QPointF from, QPointF to, double radius) {
    Capsule c;
    c.ax = from.x() - kSampleOffset;
    c.ay = from.y() - kSampleOffset;
    c.bx = to.x() - kSampleOffset;
    c.by = to.y() - kSampleOffset;
    c.radius = radius;
    c.radiusSquared = radius * radius;
    const double dx = c.bx - c.ax;
    const double dy = c.by - c.ay;
    c.length = std::sqrt(dx * dx + dy * dy);
    c.ux = c.length > 0.0 ? dx / c.length : 0.0;
    c.uy = c.length > 0.0 ? dy / c.length : 0.0;
    c.inverseUx = c.ux != 0.0 ? 1.0 / c.ux : 0.0;
    c.inverseUy = c.uy != 0.0 ? 1.0 / c.uy : 0.0;
    c.acrossHalf = std::abs(radius * c.inverseUy);
    return c;
}

// The first and last row a capsule can touch.
inline int firstRowOf(const Capsule& c) {
    return ceilToInt(std::min(c.ay, c.by) - c.radius);
}
inline int lastRowOf(const Capsule& c) {
    return floorToInt(std::max(c.ay, c.by) + c.radius);
}

// One row of a capsule in sample space: the pixels with low <= x <= high (none unless
// low <= high), and the body's part of them (none unless bodyLow <= bodyHigh).
struct RowSpan {
    double low;
    double high;
    double bodyLow;
    double bodyHigh;
};

inline RowSpan rowSpan(const Capsule& c, int y) {
    // The union of the spans of the two end discs and of the body.
    double low = kInfinity;
    double high = -kInfinity;
    const double fromA = y - c.ay;
    if (fromA * fromA <= c.radiusSquared) {
        const double half = std::sqrt(c.radiusSquared - fromA * fromA);
        low = c.ax - half;
        high = c.ax + half;
    }
    const double fromB = y - c.by;
    if (fromB * fromB <= c.radiusSquared) {
        const double half = std::sqrt(c.radiusSquared - fromB * fromB);
        low = std::min(low, c.bx - half);
        high = std::max(high, c.bx + half);
    }
    double bodyLow = kInfinity;
    double bodyHigh = -kInfinity;
    if (c.length > 0.0) {
        // Along the segment: 0 <= (x - ax) * ux + fromA * uy <= length.
        // Across it: -radius <= -(x - ax) * uy + fromA * ux <= radius.
        bodyLow = -kInfinity;
        bodyHigh = kInfinity;
        if (c.ux != 0.0) {
            const double start = c.ax - fromA * c.uy * c.inverseUx;
            const double end = start + c.length * c.inverseUx;
            bodyLow = std::min(start, end);
            bodyHigh = std::max(start, end);
        } else if (fromA * c.uy < 0.0 || fromA * c.uy > c.length) {
            bodyLow = kInfinity;
        }
        if (c.uy != 0.0) {
            const double middle = c.ax + fromA * c.ux * c.inverseUy;
            bodyLow = std::max(bodyLow, middle - c.acrossHalf);
            bodyHigh = std::min(bodyHigh, middle + c.acrossHalf);
        } else if (std::abs(fromA * c.ux) > c.radius) {
            bodyLow = kInfinity;
        }
        if (bodyLow <= bodyHigh) {
            low = std::min(low, bodyLow);
            high = std::max(high, bodyHigh);
        }
    }
    return {low, high, bodyLow, bodyHigh};
}

// A row that neither end disc reaches, on a line that is neither vertical nor horizontal: it
// meets only the body, and only its sides, as the ends' limits lie more than
// (|fromA| - radius) / |uy| further out. So the row is the span between the sides, the very
// values rowSpan finds (the same operations in the same order), for fewer of them. With
// whole-pixel ends |fromA| - radius is at least 1/1024.
inline bool onlyTheSidesReach(const Capsule& c, int y) {
    const double fromA = y - c.ay;
    const double fromB = y - c.by;
    return c.ux != 0.0 && c.uy != 0.0 && fromA * fromA > c.radiusSquared &&
           fromB * fromB > c.radiusSquared;
}

inline RowSpan sidesSpan(const Capsule& c, int y) {
    const double fromA = y - c.ay;
    const double middle = c.ax + fromA * c.ux * c.inverseUy;
    const double low = middle - c.acrossHalf;
    const double high = middle + c.acrossHalf;
    return {low, high, low, high};
}

// Whether the row keeps its pixels when the capsule moves by whole pixels: neither end nor an
// empty-or-not decision of the body may hang on the rounding.
inline bool shiftable(const RowSpan& row) {
    const bool bodyUndecided = std::isfinite(row.bodyLow) && std::isfinite(row.bodyHigh) &&
                               std::abs(row.bodyHigh - row.bodyLow) <= kShiftMargin;
    return !nearWholeNumber(row.low) && !nearWholeNumber(row.high) && !bodyUndecided;
}

// The pixel columns of a row, clamped to first..last (the row is empty when the result's
// second is below its first). The clamping comes first, so the conversions stay defined.
struct Columns {
    int first;
    int last;
};

inline Columns columnsOf(const RowSpan& row, int first, int last) {
    if (!(row.low <= row.high))
        return {first, first - 1};
    return {std::max(first, ceilToInt(std::max(row.low, first - 1.0))),
            std::min(last, floorToInt(std::min(row.high, last + 1.0)))};
}

inline bool insideClipBox(QPointF point) {
    return point.x() >= kClipMin && point.x() <= kClipMax && point.y() >= kClipMin &&
           point.y() <= kClipMax;
}

// Liang-Barsky clipping of the segment to the clip box. Returns false when nothing is left.
inline bool clipToBox(QPointF& from, QPointF& to) {
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

}  // namespace rek::capsule
