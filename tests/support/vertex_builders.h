#pragma once

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

#include "model/geometry.h"
#include "model/vertex.h"

namespace rek::test {

inline Vertex makeVertex(std::int32_t x, std::int32_t y, bool joined, bool selected = false) {
    Vertex v;
    v.x = x;
    v.y = y;
    v.kind = static_cast<std::uint8_t>(joined ? VertexKind::Joined : VertexKind::StrokeStart);
    v.selected = selected ? 1 : 0;
    return v;
}

// Appends one stroke: the first point starts it, the others join.
inline void addStroke(VertexList& vertices, std::initializer_list<Point> points) {
    bool first = true;
    for (Point point : points) {
        vertices.push_back(makeVertex(point.x, point.y, !first));
        first = false;
    }
}

// A vertex as tests compare it: position and whether it begins a stroke.
struct Pt {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool start = false;

    friend bool operator==(const Pt&, const Pt&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Pt& p) {
        return out << (p.start ? "S" : "J") << "(" << p.x << ", " << p.y << ")";
    }
};

inline std::vector<Pt> pts(const VertexList& list, std::size_t from = 0) {
    std::vector<Pt> result;
    for (std::size_t i = from; i < list.size(); ++i)
        result.push_back({list[i].x, list[i].y, list[i].isStrokeStart()});
    return result;
}

}  // namespace rek::test
