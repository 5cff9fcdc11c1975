#include "render/playback.h"

#include <algorithm>
#include <limits>

#include "render/geometry_ops.h"

namespace rek {

bool advanceReplay(PlaybackState& playback, bool frameComplete, std::int32_t speed) {
    if (frameComplete) {
        playback.vtrPlaying = false;
        return true;
    }
    const auto step = static_cast<std::uint32_t>(std::max(speed, 1));
    std::uint32_t& drawn = playback.vtrDrawnLength;
    drawn = drawn > std::numeric_limits<std::uint32_t>::max() - step
                ? std::numeric_limits<std::uint32_t>::max()
                : drawn + step;
    return false;
}

std::uint32_t replayProgressMaximum(std::span<const Vertex> vertices) {
    const double total = totalLineLength(vertices);
    if (!(total > 0.0))
        return 0;
    if (total >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(total);
}

}  // namespace rek
