#include "canvas/shape_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "model/geometry.h"
#include "model/selection.h"
#include "render/geometry_ops.h"

namespace rek {

namespace {

constexpr std::int64_t kHatchStep = 30;
constexpr std::int64_t kSmallRectangle = 60;  // width + height below this: one diagonal
constexpr double kCircleSegmentsPerPixel = 0.10471973333333334;  // 2 * 3.141592 / 60
constexpr std::int64_t kFewestCircleSegments = 8;
constexpr std::int64_t kCircleHatchAxis = 225;  // degrees: the chords run lower left to upper right
constexpr float kScalePerPixel = 0.01f;

// The drag rectangle with its corners sorted. 64-bit so that sums and steps cannot overflow.
struct Bounds {
    std::int64_t left, top, right, bottom;
};

Bounds dragBounds(const ToolState& tool) {
    const Point a = tool.dragStart;
    const Point b = tool.pointer;
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void append(EditorState& state, EditOutcome& outcome, std::int64_t x, std::int64_t y, bool joined) {
    // Every point lies within the drag rectangle, so it fits the 32-bit coordinates.
    outcome.note(appendVertex(state.model, static_cast<std::int32_t>(x),
                              static_cast<std::int32_t>(y), joined));
}

void append(EditorState& state, EditOutcome& outcome, Point p, bool joined) {
    outcome.note(appendVertex(state.model, p.x, p.y, joined));
}

// A zig-zag stroke of diagonals 30 pixels apart along the edges. Walker U goes right along the
// top edge and then down the right edge, walker W down the left edge and then right along the
// bottom; each carries the distance it overshot a corner round that corner.
void addRectangleHatch(EditorState& state, EditOutcome& outcome, const Bounds& b) {
    if ((b.right - b.left) + (b.bottom - b.top) < kSmallRectangle) {
        append(state, outcome, b.right, b.top, false);
        append(state, outcome, b.left, b.bottom, true);
        return;
    }

    std::int64_t ux = b.left, uy = b.top;
    bool uOnRightEdge = false;
    std::int64_t wx = b.left, wy = b.top;
    bool wOnBottomEdge = false;
    bool first = true;
    for (;;) {
        if (uOnRightEdge) {
            uy += kHatchStep;
        } else {
            ux += kHatchStep;
            if (ux >= b.right) {
                uy = b.top + (ux - b.right);
                ux = b.right;
                uOnRightEdge = true;
            }
        }
        if (uOnRightEdge && uy >= b.bottom)
            break;
        append(state, outcome, ux, uy, !first);
        first = false;

        if (wOnBottomEdge) {
            wx += kHatchStep;
        } else {
            wy += kHatchStep;
            if (wy >= b.bottom) {
                wx = b.left + (wy - b.bottom);
                wy = b.bottom;
                wOnBottomEdge = true;
            }
        }
        if (wOnBottomEdge && wx >= b.right)
            break;
        append(state, outcome, wx, wy, true);
    }
}

struct Ellipse {
    std::int64_t cx, cy, rx, ry;
    std::int64_t segments;

    // Whole degrees, clockwise on screen because y grows downwards.
    Point at(std::int64_t degrees) const {
        const double radians = static_cast<double>(degrees) * kDegreesToRadians;
        const auto dx = static_cast<std::int64_t>(std::cos(radians) * static_cast<double>(rx));
        const auto dy = static_cast<std::int64_t>(std::sin(radians) * static_cast<double>(ry));
        return {static_cast<std::int32_t>(cx + dx), static_cast<std::int32_t>(cy + dy)};
    }

    // The angle of the k-th of `segments` equal steps round the full turn, truncated.
    std::int64_t step(std::int64_t k) const { return 360 * k / segments; }
};

Ellipse ellipseIn(const Bounds& b) {
    Ellipse e{};
    e.rx = (b.right - b.left) / 2;
    e.ry = (b.bottom - b.top) / 2;
    e.cx = b.left + e.rx;
    e.cy = b.top + e.ry;
    // About one segment per 30 pixels of circumference.
    e.segments =
        static_cast<std::int64_t>(static_cast<double>(e.rx + e.ry) * kCircleSegmentsPerPixel);
    e.segments = std::max(e.segments, kFewestCircleSegments);
    return e;
}

// Chords perpendicular to the diameter through 225 degrees, from the upper-left rim towards
// the lower right, as one zig-zag stroke.
void addCircleHatch(EditorState& state, EditOutcome& outcome, const Ellipse& e) {
    const std::int64_t chords = (e.segments + 1) / 2;
    // One full turn past the first chord's start, which the next append normally drops as equal.
    append(state, outcome, e.at(kCircleHatchAxis + 360 + e.step(1)), false);
    for (std::int64_t j = 1; j < chords; ++j) {
        append(state, outcome, e.at(kCircleHatchAxis + e.step(j)), true);
        append(state, outcome, e.at(kCircleHatchAxis - e.step(j)), true);
    }
}

void markModified(EditorState& state) {
    state.model.modified = true;
}

}  // namespace

EditOutcome addRectangle(EditorState& state) {
    EditOutcome outcome;
    const Point s = state.tool.dragStart;
    const Point e = state.tool.pointer;
    std::array<Point, 4> k{Point{s.x, s.y}, Point{e.x, s.y}, Point{e.x, e.y}, Point{s.x, e.y}};

    // The outline starts at a random corner and runs a random way round.
    const int turns = state.random.next() % 4;
    std::rotate(k.begin(), k.begin() + turns, k.end());
    if (state.random.next() % 2 == 0)
        std::swap(k[1], k[3]);

    append(state, outcome, k[0], false);
    // The repeated start is dropped as equal; the last point closes the outline.
    for (const Point& corner : {k[0], k[1], k[2], k[3], k[0]}) {
        append(state, outcome, corner, true);
    }

    if (state.tool.mode == ToolMode::FilledRect) {
        addRectangleHatch(state, outcome, dragBounds(state.tool));
    }
    return outcome;
}

EditOutcome addCircle(EditorState& state) {
    EditOutcome outcome;
    const std::int64_t start = state.random.next() % 360;
    const std::int64_t direction = state.random.next() % 2 == 0 ? -1 : 1;

    const Ellipse e = ellipseIn(dragBounds(state.tool));
    append(state, outcome, e.at(start), false);
    // The last point is one full turn from the start and closes the outline.
    for (std::int64_t k = 1; k <= e.segments; ++k) {
        append(state, outcome, e.at(start + direction * e.step(k)), true);
    }

    if (state.tool.mode == ToolMode::FilledCircle) {
        addCircleHatch(state, outcome, e);
    }
    return outcome;
}

void selectInRectangle(EditorState& state, bool shiftHeld) {
    const Bounds b = dragBounds(state.tool);
    Model& model = state.model;
    model.selectionExists = false;
    for (Vertex& v : model.vertices) {
        if (b.left <= v.x && v.x < b.right && b.top <= v.y && v.y < b.bottom) {
            v.selected = shiftHeld ? 0 : 1;
        }
        // Vertices selected earlier (a Ctrl or Shift drag keeps them) count as well.
        if (v.isSelected())
            model.selectionExists = true;
    }
    updateToolbarState(model, state.tool);
}

void translateVertices(EditorState& state, std::int32_t dx, std::int32_t dy) {
    const bool everyVertex = state.tool.resizingCanvas;
    for (Vertex& v : state.model.vertices) {
        if (!everyVertex && !v.isSelected())
            continue;
        v.x = clampCoordinate(static_cast<std::int64_t>(v.x) + dx);
        v.y = clampCoordinate(static_cast<std::int64_t>(v.y) + dy);
    }
}

void applyScale(EditorState& state) {
    ToolState& tool = state.tool;
    for (Vertex& v : state.model.vertices) {
        if (!v.isSelected())
            continue;
        const Point scaled = scaleAboutPivot(Point{v.x, v.y}, tool.scalePivot, tool.scaleFactor);
        v.x = clampCoordinate(scaled.x);
        v.y = clampCoordinate(scaled.y);
    }
    tool.scaleFactor = 1.0f;
}

void moveDragStep(EditorState& state) {
    ToolState& tool = state.tool;
    const std::int64_t dx = static_cast<std::int64_t>(tool.pointer.x) - tool.dragStart.x;
    const std::int64_t dy = static_cast<std::int64_t>(tool.pointer.y) - tool.dragStart.y;
    // Beyond twice the limit every coordinate ends at the limit anyway.
    const auto limit = [](std::int64_t d) {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(d, -2 * kCoordinateLimit, 2 * kCoordinateLimit));
    };
    translateVertices(state, limit(dx), limit(dy));
    tool.dragStart = tool.pointer;
    markModified(state);
}

float scaleFactorForDistance(std::int32_t dx) {
    // Evaluated wider than float and stored as float, so that 100 pixels left of the pivot
    // gives a factor just above 0 rather than exactly 0.
    const double factor =
        static_cast<double>(1.0f) + static_cast<double>(kScalePerPixel) * static_cast<double>(dx);
    if (factor < 0.0)
        return 0.0f;
    return static_cast<float>(factor);
}

void scaleDragStep(EditorState& state) {
    ToolState& tool = state.tool;
    const std::int64_t distance = static_cast<std::int64_t>(tool.pointer.x) - tool.scalePivot.x;
    const auto dx =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(distance, INT32_MIN, INT32_MAX));
    tool.scaleFactor = scaleFactorForDistance(dx);
    if (tool.scaleFactor != 1.0f)
        markModified(state);
}

}  // namespace rek
