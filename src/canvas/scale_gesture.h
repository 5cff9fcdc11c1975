#pragma once

#include <cstdint>

#include "canvas/tool.h"

namespace rek {

// The scale sub-mode of range select: the press sets the pivot, the horizontal distance of the
// pointer from it sets the factor (shown scaled while dragging), and every release writes the
// scaled positions and records a snapshot, with or without a drag before it.
class ScaleGesture : public Tool {
  public:
    void press(ToolContext& context) override;
    void drag(ToolContext& context) override;
    void release(ToolContext& context, bool dragged) override;
    std::optional<ScalePreview> scalePreview() const override;
    CursorKind cursor(KeyModifiers keys) const override;

    // Back to factor 1, as switching the sub-mode on or off does.
    void resetFactor() { preview_.factor = 1.0f; }
    float factor() const { return preview_.factor; }

  private:
    ScalePreview preview_;
};

// The factor for a horizontal distance from the pivot: 1 + 0.01 per pixel, never below 0.
float scaleFactorForDistance(std::int32_t dx);

}  // namespace rek
