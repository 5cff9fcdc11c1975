#pragma once

#include <cstdint>

#include "model/geometry.h"
#include "model/vertex.h"

namespace rek {

enum class MovedVertices { Selected, All };

// Moves the selected vertices (a move drag), or all of them (a canvas border drag), clamping
// each coordinate to the coordinate limit.
void translateVertices(VertexList& vertices, std::int32_t dx, std::int32_t dy, MovedVertices which);

// Writes the positions of the selected vertices scaled about `pivot` (clamped).
void scaleSelectedVertices(VertexList& vertices, Point pivot, float factor);

}  // namespace rek
