#include "render/step_spans.h"

#include <QPointF>
#include <algorithm>
#include <limits>

#include "render/capsule.h"

namespace rek {

namespace {

constexpr StepSpans::Span kNoSpan{0, -1};
static_assert(StepSpans::kMaxStep + StepSpans::kMaxDiameter / 2 + 1 <
              std::numeric_limits<std::int8_t>::max());

}  // namespace

void StepSpans::reset(int diameter) {
    diameter_ = diameter;
    steps_.assign(kStepsAcross * kStepsAcross, Step{});
    spans_.clear();
    // Room for every step, so that building one never allocates: a step has at most
    // |dy| + diameter + 1 rows. Pages of steps never met are never touched.
    const std::size_t rowsOfEveryDy =
        static_cast<std::size_t>(kMaxStep) * (kMaxStep + 1) +
        static_cast<std::size_t>(kStepsAcross) * (static_cast<std::size_t>(diameter) + 2);
    spans_.reserve(kStepsAcross * rowsOfEveryDy);
}

void StepSpans::build(Step& step, int dx, int dy) {
    // The step drawn from (0, 0). Rows move exactly with the start's row: the row offsets
    // from the ends are exact. Spans move with the start's column up to the rounding of the
    // sums with the start's position, see capsule::kShiftMargin.
    using namespace capsule;
    const Capsule c = capsuleOf(QPointF(0, 0), QPointF(dx, dy), diameter_ / 2.0);
    const int firstRow = firstRowOf(c);
    const int lastRow = lastRowOf(c);
    const std::size_t firstSpan = spans_.size();
    // Empty rows are spans at the start's column, so that is within the bounds too.
    int lowest = 0;
    int highest = 0;
    for (int y = firstRow; y <= lastRow; ++y) {
        const RowSpan row = rowSpan(c, y);
        if (!capsule::shiftable(row)) {
            spans_.resize(firstSpan);
            step.rowCount = kNotShiftable;
            return;
        }
        if (row.low <= row.high) {
            const int low = ceilToInt(row.low);
            const int high = floorToInt(row.high);
            if (low <= high) {
                spans_.push_back({static_cast<std::int8_t>(low), static_cast<std::int8_t>(high)});
                lowest = std::min(lowest, low);
                highest = std::max(highest, high);
                step.narrow = step.narrow && high - low < 63;
                continue;
            }
        }
        spans_.push_back(kNoSpan);
    }
    step.firstSpan = static_cast<std::int32_t>(firstSpan);
    step.firstRow = static_cast<std::int16_t>(firstRow);
    step.rowCount = static_cast<std::int16_t>(lastRow - firstRow + 1);
    step.lowest = static_cast<std::int8_t>(lowest);
    step.highest = static_cast<std::int8_t>(highest);
}

StepSpans& SpanTables::forDiameter(int diameter) {
    for (StepSpans& table : tables_) {
        if (table.diameter() == diameter)
            return table;
    }
    StepSpans& table = tables_[next_];
    next_ = 1 - next_;
    table.reset(diameter);
    return table;
}

}  // namespace rek
