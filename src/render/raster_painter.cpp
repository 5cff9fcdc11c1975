#include "render/raster_painter.h"

#include <QPen>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <cstring>
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

// Most lines of a frame are the short steps of drawn strokes, with whole-pixel ends and one
// pen. Such a step's pixels depend only on its direction and the pen, and land in the same
// place relative to its start wherever it starts, up to the rounding of the sums with the
// start position: that moves a span end by less than 1e-10, so a step whose span ends all lie
// further than kShiftMargin from a whole number is drawn from a table built once per step.
// Within kMaxStep and kMaxStepDiameter every step passes (ends exactly on a whole number, as
// along diagonals, are covered by the end discs); the check stays so that the table can never
// change a pixel, and a step failing it would be computed row by row.
constexpr int kMaxStep = 32;
constexpr int kStepsAcross = 2 * kMaxStep + 1;
constexpr int kMaxStepDiameter = 128;
constexpr double kShiftMargin = 1e-9;
constexpr std::int16_t kNotBuilt = -1;
constexpr std::int16_t kNotShiftable = -2;
// An empty span that stays empty when shifted by any coordinate inside the clip box.
constexpr std::int32_t kNoSpanLow = std::numeric_limits<std::int32_t>::max() / 2;
constexpr std::int32_t kNoSpanHigh = std::numeric_limits<std::int32_t>::min() / 2;

// floor and ceil for values well inside the int range, without a library call.
int floorToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated - (value < truncated ? 1 : 0);
}

int ceilToInt(double value) {
    const int truncated = static_cast<int>(value);
    return truncated + (value > truncated ? 1 : 0);
}

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

bool nearWholeNumber(double value) {
    return std::abs(value - std::round(value)) <= kShiftMargin;
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

Capsule capsuleOf(QPointF from, QPointF to, double radius) {
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

// One row of a capsule in sample space: the pixels with low <= x <= high (none unless
// low <= high), and the body's part of them (none unless bodyLow <= bodyHigh).
struct RowSpan {
    double low;
    double high;
    double bodyLow;
    double bodyHigh;
};

inline RowSpan rowSpan(const Capsule& c, int y) {
    // The shape is convex, so each row is one span: the union of the spans of the two end
    // discs and of the body.
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
    : image_(image),
      painter_(&image),
      bits_(image.bits()),
      bytesPerLine_(image.bytesPerLine()),
      width_(image.width()),
      height_(image.height()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
}

void RasterPainter::fillRect(int x, int y, int width, int height, ColorRgb color) {
    painter_.fillRect(x, y, width, height, toQColor(color));
}

void RasterPainter::setPen(ColorRgb color, int width) {
    penColor_ = toRgb(color);
    penDiameter_ = std::max(width, 1);
    QPen pen(toQColor(color));
    pen.setWidth(width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void RasterPainter::lineTo(QPointF point) {
    const QPointF from = current_;
    current_ = point;
    if (insideClipBox(from) && insideClipBox(point)) {
        fillCapsule(from, point, penDiameter_, penColor_);
        return;
    }
    // Apart from the common case above, so the points can stay in registers there.
    QPointF clippedFrom = from;
    QPointF clippedTo = point;
    if (clipToBox(clippedFrom, clippedTo))
        fillCapsule(clippedFrom, clippedTo, penDiameter_, penColor_);
}

void RasterPainter::dot(QPointF center, int diameter, ColorRgb color) {
    if (!insideClipBox(center))
        return;
    fillCapsule(center, center, std::max(diameter, 1), toRgb(color));
}

void RasterPainter::fillCapsule(QPointF from, QPointF to, int diameter, QRgb color) {
    if (diameter <= kMaxStepDiameter && isWholePixel(from) && isWholePixel(to) &&
        std::abs(to.x() - from.x()) <= kMaxStep && std::abs(to.y() - from.y()) <= kMaxStep &&
        fillStep(from, to, diameter, color)) {
        return;
    }
    fillAnyCapsule(from, to, diameter / 2.0, color);
}

RasterPainter::StepSpans& RasterPainter::stepSpans(int diameter) {
    for (StepSpans& table : stepSpans_) {
        if (table.diameter == diameter)
            return table;
    }
    StepSpans& table = stepSpans_[nextStepSpans_];
    nextStepSpans_ = 1 - nextStepSpans_;
    table.diameter = diameter;
    table.steps.assign(kStepsAcross * kStepsAcross, StepSpans::Step{});
    table.spans.clear();
    return table;
}

void RasterPainter::buildStep(StepSpans& table, StepSpans::Step& step, int dx, int dy) {
    // The step drawn from (0, 0). Rows shift exactly with the start's row: the row offsets
    // from the ends are exact. Spans shift with the start's column up to the rounding of
    // the sums with the start's position, see kShiftMargin.
    const double radius = table.diameter / 2.0;
    const Capsule c = capsuleOf(QPointF(0, 0), QPointF(dx, dy), radius);
    const int firstRow = ceilToInt(std::min(c.ay, c.by) - radius);
    const int lastRow = floorToInt(std::max(c.ay, c.by) + radius);
    const std::size_t firstSpan = table.spans.size();
    for (int y = firstRow; y <= lastRow; ++y) {
        const RowSpan row = rowSpan(c, y);
        const bool bodyUndecided = std::isfinite(row.bodyLow) && std::isfinite(row.bodyHigh) &&
                                   std::abs(row.bodyHigh - row.bodyLow) <= kShiftMargin;
        if (nearWholeNumber(row.low) || nearWholeNumber(row.high) || bodyUndecided) {
            table.spans.resize(firstSpan);
            step.rowCount = kNotShiftable;
            return;
        }
        if (row.low <= row.high) {
            table.spans.push_back({ceilToInt(row.low), floorToInt(row.high)});
        } else {
            table.spans.push_back({kNoSpanLow, kNoSpanHigh});
        }
    }
    step.firstSpan = static_cast<std::int32_t>(firstSpan);
    step.firstRow = static_cast<std::int16_t>(firstRow);
    step.rowCount = static_cast<std::int16_t>(lastRow - firstRow + 1);
}

bool RasterPainter::fillStep(QPointF from, QPointF to, int diameter, QRgb color) {
    const int fromX = static_cast<int>(from.x());
    const int fromY = static_cast<int>(from.y());
    const int dx = static_cast<int>(to.x()) - fromX;
    const int dy = static_cast<int>(to.y()) - fromY;
    StepSpans& table = stepSpans(diameter);
    StepSpans::Step& step = table.steps[(dy + kMaxStep) * kStepsAcross + dx + kMaxStep];
    if (step.rowCount == kNotBuilt)
        buildStep(table, step, dx, dy);
    if (step.rowCount == kNotShiftable)
        return false;

    // Locals, as the pixel stores could otherwise alias the members.
    const int lastColumn = width_ - 1;
    const qsizetype bytesPerLine = bytesPerLine_;
    const int top = fromY + step.firstRow;
    const int begin = std::max(0, -top);
    const int end = std::min<int>(step.rowCount, height_ - top);
    const StepSpans::Span* spans = table.spans.data() + step.firstSpan;
    uchar* rowBits = bits_ + static_cast<qsizetype>(top + begin) * bytesPerLine;
    for (int i = begin; i < end; ++i, rowBits += bytesPerLine) {
        fillPixels(reinterpret_cast<QRgb*>(rowBits), std::max(0, fromX + spans[i].low),
                   std::min(lastColumn, fromX + spans[i].high), color);
    }
    return true;
}

void RasterPainter::fillAnyCapsule(QPointF from, QPointF to, double radius, QRgb color) {
    const Capsule c = capsuleOf(from, to, radius);
    const int firstRow = std::max(0, ceilToInt(std::min(c.ay, c.by) - radius));
    const int lastRow = std::min(height_ - 1, floorToInt(std::max(c.ay, c.by) + radius));
    for (int y = firstRow; y <= lastRow; ++y) {
        const RowSpan row = rowSpan(c, y);
        if (!(row.low <= row.high))
            continue;
        // The spans lie within the clip box; clamping first keeps the conversions defined.
        const int first = std::max(0, ceilToInt(std::max(row.low, -1.0)));
        const int last =
            std::min(width_ - 1, floorToInt(std::min(row.high, static_cast<double>(width_))));
        fillPixels(reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_), first, last, color);
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
