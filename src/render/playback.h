#pragma once

#include <cstdint>
#include <span>

#include "model/vertex.h"

namespace rek {

// VTR replay: the drawing is redrawn in drawing order, a growing length of line per frame.
struct PlaybackState {
    bool vtrPlaying = false;
    std::uint32_t vtrDrawnLength = 0;  // pixels of line the next frame draws
};

// After a frame drawn during a replay: the replay ends when that frame drew the whole
// drawing, otherwise the length grows by `speed` pixels (at least 1, saturating so that a huge
// speed cannot wrap it back to the start). Returns true when the replay ended.
bool advanceReplay(PlaybackState& playback, bool frameComplete, std::int32_t speed);

// Range of the replay progress: the total line length, truncated to 32 bits.
std::uint32_t replayProgressMaximum(std::span<const Vertex> vertices);

}  // namespace rek
