#include "render/wobble.h"

#include <algorithm>

#include "model/model_properties.h"

namespace rek {

void newWobbleOffsets(VertexList& vertices, std::int32_t amount, bool enabled, Random& random) {
    if (!enabled) {
        for (Vertex& vertex : vertices) {
            vertex.wobbleDx = 0;
            vertex.wobbleDy = 0;
        }
        return;
    }
    // Offsets are signed bytes; a larger amount from a file would wrap around.
    const int safeAmount = std::clamp(amount, 0, kMaxWobbleAmount);
    const int modulus = 2 * safeAmount + 1;
    for (Vertex& vertex : vertices) {
        vertex.wobbleDx = static_cast<std::int8_t>(random.next() % modulus - safeAmount);
        vertex.wobbleDy = static_cast<std::int8_t>(random.next() % modulus - safeAmount);
    }
}

}  // namespace rek
