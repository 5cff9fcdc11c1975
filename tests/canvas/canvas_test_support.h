#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "model/vertex.h"
#include "render/editor_state.h"
#include "render/random.h"

namespace rek::test {

// A vertex as the tests compare it: position and whether it begins a stroke.
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
    for (std::size_t i = from; i < list.size(); ++i) {
        result.push_back({list[i].x, list[i].y, list[i].isStrokeStart()});
    }
    return result;
}

// The first seed whose first two draws satisfy `wanted`, so a test states the draws it needs
// instead of a magic seed.
inline std::uint32_t seedWhere(const std::function<bool(int, int)>& wanted) {
    for (std::uint32_t seed = 1;; ++seed) {
        Random random(seed);
        const int first = random.next();
        const int second = random.next();
        if (wanted(first, second))
            return seed;
    }
}

inline Vertex makeVertex(std::int32_t x, std::int32_t y, bool joined, bool selected = false) {
    Vertex v;
    v.x = x;
    v.y = y;
    v.kind = static_cast<std::uint8_t>(joined ? VertexKind::Joined : VertexKind::StrokeStart);
    v.selected = selected ? 1 : 0;
    return v;
}

}  // namespace rek::test
