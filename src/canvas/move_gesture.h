#pragma once

#include "canvas/tool.h"

namespace rek {

// The move sub-mode of range select: dragging moves the selected vertices with the pointer.
// Every release records a snapshot, with or without a drag before it.
class MoveGesture : public Tool {
  public:
    void press(ToolContext& context) override;
    void drag(ToolContext& context) override;
    void release(ToolContext& context, bool dragged) override;
    CursorKind cursor(KeyModifiers keys) const override;
};

}  // namespace rek
