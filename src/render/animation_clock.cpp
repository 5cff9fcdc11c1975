#include "render/animation_clock.h"

#include <limits>

#include "render/geometry_ops.h"
#include "render/wobble.h"

namespace rek {

void startVtr(EditorState& state) {
    state.playback.vtrPlaying = true;
    state.playback.vtrDrawnLength = 0;
}

void stopVtr(EditorState& state) {
    state.playback.vtrPlaying = false;
}

void toggleVtr(EditorState& state) {
    // Every start begins from the first segment again.
    state.playback.vtrDrawnLength = 0;
    state.playback.vtrPlaying = !state.playback.vtrPlaying;
}

FrameTickResult AnimationClock::frameTick(EditorState& state, FrameRenderer& renderer,
                                          Point sampledPointer) {
    FrameTickResult result;
    if (state.exportBusy)
        return result;  // the export draws its own frames

    state.tool.pointer = sampledPointer;
    const FrameOutcome outcome = renderer.drawFrame(state);
    result.vtrStepped = outcome.vtrStepped;
    result.vtrEnded = outcome.vtrEnded;

    // Tested after drawing, so the frame that completes a replay already gets its overlays.
    if (!state.playback.vtrPlaying) {
        std::string text = "頂点の数：" + std::to_string(state.drawnVertexCount);
        if (text != lastVertexCountText_) {
            lastVertexCountText_ = text;
            result.vertexCountText = std::move(text);
        }
        renderer.drawOverlays(state);
    }
    return result;
}

void wobbleTick(EditorState& state) {
    if (state.exportBusy)
        return;
    newWobbleOffsets(state);
}

std::uint32_t vtrProgressMaximum(const EditorState& state) {
    const double total = totalLineLength(state.model.vertices);
    if (!(total > 0.0))
        return 0;
    if (total >= static_cast<double>(std::numeric_limits<std::uint32_t>::max())) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(total);
}

}  // namespace rek
