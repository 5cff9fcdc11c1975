#pragma once

#include <span>

#include "model/geometry.h"
#include "model/vertex.h"

namespace rek {

// Scales `point` about `pivot` by evaluating it in polar form (radius times factor, same
// heading), truncating toward zero once the rounding noise of cos and sin is removed (so a
// factor of 1 leaves every point where it is). Not clamped to the coordinate limit; results beyond
// the 32-bit range saturate.
Point scaleAboutPivot(Point point, Point pivot, float factor);

// Straight distance between two stored positions. The VTR replay and the total length both
// measure with this, so a replay ends exactly where the total says.
double segmentLength(const Vertex& from, const Vertex& to);

// Sum of the lengths of all segments (stored positions, no jitter): each Joined vertex that has
// a previous vertex adds its distance to that vertex.
double totalLineLength(std::span<const Vertex> vertices);

}  // namespace rek
