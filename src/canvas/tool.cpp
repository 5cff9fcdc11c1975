#include "canvas/tool.h"

namespace rek {

void ToolContext::append(Point point, bool joined) {
    if (appendVertex(model, point.x, point.y, joined) == AppendResult::OutOfMemory)
        outOfMemory = true;
}

void Tool::drag(ToolContext&) {}

void Tool::pressRight(ToolContext&, bool) {}

RubberBand Tool::rubberBand(const Model&, Point, Point) const {
    return {};
}

std::optional<ScalePreview> Tool::scalePreview() const {
    return std::nullopt;
}

CursorKind Tool::cursor(KeyModifiers) const {
    return CursorKind::Arrow;
}

}  // namespace rek
