#pragma once

#include <cstdint>

#include "model/model_properties.h"
#include "model/vertex.h"

namespace rek {

// An independent copy of what an export draws, taken from the editor when the export starts:
// the drawing, how it looks, and where the wobble's random sequence stands, so the export
// wobbles exactly as the next frames on screen would.
struct AnimationSnapshot {
    ModelProperties properties;
    VertexList vertices;
    std::uint32_t seed = 1;
};

}  // namespace rek
