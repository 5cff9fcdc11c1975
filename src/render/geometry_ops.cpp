#include "render/geometry_ops.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace rek {

namespace {

// Truncation toward zero; values beyond the 32-bit range saturate instead of being undefined.
std::int32_t truncateToInt32(double value) {
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (value <= kLowest)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= kHighest)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// cos and sin of an exact heading are off by an ulp or so, which leaves a result that should be
// an integer just below it. Such noise is removed before truncating; a true fraction, including
// one that comes from a factor a float cannot hold exactly, is far larger and stays.
double withoutRoundingNoise(double value, double radius) {
    const double nearest = std::nearbyint(value);
    const double noise = 1e-12 * std::max(1.0, std::abs(radius));
    return std::abs(value - nearest) <= noise ? nearest : value;
}

}  // namespace

Point scaleAboutPivot(Point point, Point pivot, float factor) {
    if (std::isnan(factor))
        factor = 0.0f;
    if (std::isinf(factor))
        factor = std::copysign(FLT_MAX, factor);
    // The vertical axis is turned upwards so the heading is the usual mathematical angle.
    const double dx = static_cast<double>(point.x) - pivot.x;
    const double dy = static_cast<double>(pivot.y) - point.y;
    const double radius = std::sqrt(dx * dx + dy * dy) * static_cast<double>(factor);
    const double heading = std::atan2(dy, dx);
    return {truncateToInt32(withoutRoundingNoise(pivot.x + radius * std::cos(heading), radius)),
            truncateToInt32(withoutRoundingNoise(pivot.y - radius * std::sin(heading), radius))};
}

double segmentLength(const Vertex& from, const Vertex& to) {
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    return std::sqrt(dx * dx + dy * dy);
}

double totalLineLength(std::span<const Vertex> vertices) {
    double total = 0.0;
    for (std::size_t i = 1; i < vertices.size(); ++i) {
        if (vertices[i].isJoined())
            total += segmentLength(vertices[i - 1], vertices[i]);
    }
    return total;
}

}  // namespace rek
