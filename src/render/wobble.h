#pragma once

#include <cstdint>

#include "model/vertex.h"
#include "render/random.h"

namespace rek {

// The wobble step: gives every vertex new offsets in -amount..amount, drawing exactly two
// numbers per vertex from `random` (horizontal first), or, with the wobble switched off, sets
// every offset to zero without drawing.
void newWobbleOffsets(VertexList& vertices, std::int32_t amount, bool enabled, Random& random);

}  // namespace rek
