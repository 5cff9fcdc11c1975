#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace rek {

enum class VertexKind : std::uint8_t {
    StrokeStart = 1,  // begins a new polyline; no segment leads into it
    Joined = 2,       // a segment joins the previous vertex to this one
};

struct Vertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Kept as a raw byte: files may hold kinds other than 1 and 2, which are kept and saved back.
    std::uint8_t kind = static_cast<std::uint8_t>(VertexKind::StrokeStart);
    std::int8_t wobbleDx = 0;
    std::int8_t wobbleDy = 0;
    std::uint8_t reserved = 0;
    std::uint8_t selected = 0;  // in memory only, never saved

    bool isStrokeStart() const {
        return kind == static_cast<std::uint8_t>(VertexKind::StrokeStart);
    }
    bool isJoined() const { return kind == static_cast<std::uint8_t>(VertexKind::Joined); }
    bool isSelected() const { return selected != 0; }
};

// Vertices in drawing order, which is also the order of VTR replay. Contiguous, because the
// renderer walks every vertex every frame.
using VertexList = std::vector<Vertex>;

// The 12-byte persistent image shared by model files and undo snapshots:
// x, y (little-endian int32), kind, wobbleDx, wobbleDy, reserved.
inline constexpr std::size_t kVertexImageSize = 12;
using VertexImage = std::array<std::uint8_t, kVertexImageSize>;

VertexImage encodeVertexImage(const Vertex& vertex);
// The decoded vertex is unselected.
Vertex decodeVertexImage(const std::uint8_t* image);

}  // namespace rek
