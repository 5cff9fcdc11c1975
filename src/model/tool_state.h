#pragma once

#include <cstdint>

#include "model/geometry.h"

namespace rek {

enum class ToolMode : std::int32_t {
    StraightLine = 0,
    Curve = 1,
    Rect = 2,
    Circle = 3,
    FilledRect = 4,
    FilledCircle = 5,
    RangeSelect = 6,
};

// The canvas interaction state, read by the renderer for its overlays.
struct ToolState {
    ToolMode mode = ToolMode::StraightLine;
    bool dragging = false;
    Point dragStart;  // for the curve tool: the vertex added last
    Point pointer;    // sampled at every frame; the tools read this, not the mouse event
    bool moveMode = false;
    bool scaleMode = false;
    float scaleFactor = 1.0f;
    Point scalePivot;
    bool resizingCanvas = false;
    std::int32_t curveMoveCount = 0;
    Point lastBorderPosition;  // screen position at the previous step of a border drag
};

}  // namespace rek
