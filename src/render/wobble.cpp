#include "render/wobble.h"

#include <algorithm>

namespace rek {

void newWobbleOffsets(EditorState& state) {
    VertexList& vertices = state.model.vertices;
    if (!state.wobbleEnabled) {
        for (Vertex& vertex : vertices) {
            vertex.wobbleDx = 0;
            vertex.wobbleDy = 0;
        }
        return;
    }
    // Offsets are signed bytes; a larger amount from a file would wrap around.
    const int amount = std::clamp(state.model.properties.wobbleAmount, 0, kMaxWobbleAmount);
    const int modulus = 2 * amount + 1;
    for (Vertex& vertex : vertices) {
        vertex.wobbleDx = static_cast<std::int8_t>(state.random.next() % modulus - amount);
        vertex.wobbleDy = static_cast<std::int8_t>(state.random.next() % modulus - amount);
    }
}

}  // namespace rek
