#pragma once

#include <cstdint>
#include <vector>

namespace rek {

// Most lines of a frame are the steps of drawn strokes and shapes, with whole-pixel ends and
// one pen. Such a step's pixels depend only on its direction and the pen, and land in the
// same place relative to its start wherever it starts, up to the rounding of the sums with the
// start position: that moves a span end by less than 1e-10, so a step whose span ends all lie
// further than capsule::kShiftMargin from a whole number is drawn from a table built once per
// step. Within kMaxStep and kMaxStepDiameter nearly every step passes (ends exactly on a
// whole number, as along diagonals, are mostly covered by the end discs); the check stays so
// that the table can never change a pixel, and a step failing it is computed row by row.
class StepSpans {
  public:
    static constexpr int kMaxStep = 64;
    // The widest pen of a frame and its marker dots, two pixels wider. Every column of a step
    // then lies within kMaxStep + kMaxDiameter / 2 + 1 of its start, which fits a byte.
    static constexpr int kMaxDiameter = 102;

    // One row of a step, in columns relative to the step's start; an empty row has
    // high == low - 1.
    struct Span {
        std::int8_t low;
        std::int8_t high;
    };

    struct Step {
        std::int32_t firstSpan = 0;
        std::int16_t firstRow = 0;   // relative to the step's start
        std::int16_t rowCount = -1;  // kNotBuilt or kNotShiftable when negative
        // The columns all rows lie in, relative to the step's start.
        std::int8_t lowest = 0;
        std::int8_t highest = 0;
        // Every row is shorter than 64 pixels.
        bool narrow = true;

        bool built() const { return rowCount != kNotBuilt; }
        bool shiftable() const { return rowCount >= 0; }
    };

    static bool fits(int dx, int dy, int diameter) {
        return diameter <= kMaxDiameter && dx >= -kMaxStep && dx <= kMaxStep && dy >= -kMaxStep &&
               dy <= kMaxStep;
    }

    int diameter() const { return diameter_; }
    // Empties the table for another diameter; the memory stays.
    void reset(int diameter);

    // The entry of the step from (0, 0) to (dx, dy), which must fit; built when not yet.
    const Step& step(int dx, int dy) {
        Step& entry = steps_[index(dx, dy)];
        if (!entry.built())
            build(entry, dx, dy);
        return entry;
    }
    // The entry as it stands, built or not: only reads, so any thread may call it while no
    // other builds.
    const Step& builtStep(int dx, int dy) const { return steps_[index(dx, dy)]; }

    const Span* spans(const Step& step) const { return spans_.data() + step.firstSpan; }

  private:
    static constexpr int kStepsAcross = 2 * kMaxStep + 1;
    static constexpr std::int16_t kNotBuilt = -1;
    static constexpr std::int16_t kNotShiftable = -2;

    static int index(int dx, int dy) { return (dy + kMaxStep) * kStepsAcross + dx + kMaxStep; }
    void build(Step& step, int dx, int dy);

    int diameter_ = 0;
    std::vector<Step> steps_;
    std::vector<Span> spans_;
};

// The step tables of the two diameters drawn most recently, kept as long as the renderer: a
// frame draws with the pen's, the overlays also with the marker dots'.
class SpanTables {
  public:
    StepSpans& forDiameter(int diameter);

  private:
    StepSpans tables_[2];
    int next_ = 0;
};

}  // namespace rek
