#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/geometry.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

namespace rek {

// VTR replay switches. They change state only; the caller refreshes the mode display.
void startVtr(EditorState& state);
void stopVtr(EditorState& state);
void toggleVtr(EditorState& state);

struct FrameTickResult {
    // "頂点の数：%d", present only when it differs from the text reported last.
    std::optional<std::string> vertexCountText;
    bool vtrStepped = false;
    bool vtrEnded = false;
};

// The frame step without its timer. The caller samples the pointer (canvas coordinates) and,
// afterwards, presents renderer.frame(state.model.properties).
class AnimationClock {
  public:
    FrameTickResult frameTick(EditorState& state, FrameRenderer& renderer, Point sampledPointer);

  private:
    std::string lastVertexCountText_;
};

// The wobble timer's step: newWobbleOffsets, except while an export draws its own frames.
void wobbleTick(EditorState& state);

// Range of the VTR progress bar: the total line length, truncated.
std::uint32_t vtrProgressMaximum(const EditorState& state);

}  // namespace rek
