#pragma once

#include <cstdint>

namespace rek {

struct PlaybackState {
    bool vtrPlaying = false;
    std::uint32_t vtrDrawnLength = 0;  // pixels of line the next frame draws
};

}  // namespace rek
