#include "model/vertex.h"

#include "model/byte_order.h"

namespace rek {

VertexImage encodeVertexImage(const Vertex& vertex) {
    VertexImage image{};
    putInt32(image.data(), vertex.x);
    putInt32(image.data() + 4, vertex.y);
    image[8] = vertex.kind;
    image[9] = static_cast<std::uint8_t>(vertex.wobbleDx);
    image[10] = static_cast<std::uint8_t>(vertex.wobbleDy);
    image[11] = vertex.reserved;
    return image;
}

Vertex decodeVertexImage(const std::uint8_t* image) {
    Vertex vertex;
    vertex.x = getInt32(image);
    vertex.y = getInt32(image + 4);
    vertex.kind = image[8];
    vertex.wobbleDx = static_cast<std::int8_t>(image[9]);
    vertex.wobbleDy = static_cast<std::int8_t>(image[10]);
    vertex.reserved = image[11];
    vertex.selected = 0;
    return vertex;
}

}  // namespace rek
