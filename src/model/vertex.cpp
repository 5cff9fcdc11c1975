#include "model/vertex.h"

namespace rek {

namespace {

void putInt32(std::uint8_t* out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    out[0] = static_cast<std::uint8_t>(bits);
    out[1] = static_cast<std::uint8_t>(bits >> 8);
    out[2] = static_cast<std::uint8_t>(bits >> 16);
    out[3] = static_cast<std::uint8_t>(bits >> 24);
}

std::int32_t getInt32(const std::uint8_t* in) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
        (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
    return static_cast<std::int32_t>(bits);
}

}  // namespace

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
