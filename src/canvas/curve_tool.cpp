#include "canvas/curve_tool.h"

#include <cmath>

namespace rek {

namespace {

constexpr int kMaxHeadingDifference = 30;  // degrees, exclusive
constexpr double kMaxThinnedSpan = 100.0;  // pixels from P to N, inclusive
constexpr std::int32_t kCurveMovesPerVertex = 5;
constexpr std::int64_t kCurveMaxGapSquared = 400;  // 20 pixels

int headingDegrees(const Vertex& from, const Vertex& to) {
    const double dy = static_cast<double>(to.y) - from.y;
    const double dx = static_cast<double>(to.x) - from.x;
    return static_cast<int>(std::atan2(dy, dx) * kRadiansToDegrees);
}

bool nearlyStraight(const Vertex& p, const Vertex& v, const Vertex& n) {
    const int difference = headingDegrees(p, v) - headingDegrees(v, n);
    if (std::abs(difference) >= kMaxHeadingDifference)
        return false;
    const double dx = static_cast<double>(n.x) - p.x;
    const double dy = static_cast<double>(n.y) - p.y;
    return std::sqrt(dx * dx + dy * dy) <= kMaxThinnedSpan;
}

}  // namespace

std::size_t thinCurve(VertexList& list) {
    if (list.size() < 3)
        return 0;

    std::size_t removed = 0;
    std::size_t i = list.size() - 3;
    while (i + 1 < list.size()) {
        const Vertex& v = list[i];
        const Vertex& n = list[i + 1];
        // A Joined vertex at the head (possible in a loaded file) has no P and is left alone.
        if (i > 0 && v.isJoined() && n.isJoined() && nearlyStraight(list[i - 1], v, n)) {
            // N moves into V's place and is looked at next.
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

void CurveTool::press(ToolContext& context) {
    StrokeTool::press(context);
    context.dragStart = context.pointer;
    movesSinceVertex_ = 0;
}

void CurveTool::drag(ToolContext& context) {
    ++movesSinceVertex_;
    const Point pointer = context.pointer;
    const std::int64_t dx = static_cast<std::int64_t>(pointer.x) - context.dragStart.x;
    const std::int64_t dy = static_cast<std::int64_t>(pointer.y) - context.dragStart.y;
    if (movesSinceVertex_ > kCurveMovesPerVertex || dx * dx + dy * dy > kCurveMaxGapSquared) {
        movesSinceVertex_ = 0;
        context.append(pointer, true);
        context.dragStart = pointer;
        thinCurve(context.model.vertices);
    }
}

}  // namespace rek
