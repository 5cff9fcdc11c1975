#include "canvas/tool_registry.h"

#include "canvas/circle_tool.h"
#include "canvas/curve_tool.h"
#include "canvas/range_select_tool.h"
#include "canvas/rectangle_tool.h"
#include "canvas/straight_line_tool.h"

namespace rek {

std::unique_ptr<Tool> makeTool(ToolMode mode) {
    switch (mode) {
        case ToolMode::StraightLine:
            return std::make_unique<StraightLineTool>();
        case ToolMode::Curve:
            return std::make_unique<CurveTool>();
        case ToolMode::Rect:
            return std::make_unique<RectangleTool>(/*filled=*/false);
        case ToolMode::Circle:
            return std::make_unique<CircleTool>(/*filled=*/false);
        case ToolMode::FilledRect:
            return std::make_unique<RectangleTool>(/*filled=*/true);
        case ToolMode::FilledCircle:
            return std::make_unique<CircleTool>(/*filled=*/true);
        case ToolMode::RangeSelect:
            return std::make_unique<RangeSelectTool>();
    }
    return nullptr;
}

}  // namespace rek
