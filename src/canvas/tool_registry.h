#pragma once

#include <cstdint>
#include <memory>

#include "canvas/tool.h"

namespace rek {

// The tools of the canvas, numbered as the program always numbered them. A new tool gets an
// entry here and in makeTool, and a toolbar entry in the shell's command table.
enum class ToolMode : std::int32_t {
    StraightLine = 0,
    Curve = 1,
    Rect = 2,
    Circle = 3,
    FilledRect = 4,
    FilledCircle = 5,
    RangeSelect = 6,
};

inline constexpr int kToolModeCount = 7;

std::unique_ptr<Tool> makeTool(ToolMode mode);

}  // namespace rek
