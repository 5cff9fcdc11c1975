#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/model.h"

namespace rek::test {

// Little-endian byte building for hand-made model files.
struct Bytes {
    Bytes& i32(std::int32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            data.push_back((static_cast<std::uint32_t>(value) >> shift) & 0xFF);
        return *this;
    }
    Bytes& u8(std::initializer_list<int> values) {
        data.insert(data.end(), values.begin(), values.end());
        return *this;
    }
    Bytes& text(const std::string& s) {
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& vertex(std::int32_t x, std::int32_t y, int kind, int dx = 0, int dy = 0, int res = 0) {
        return i32(x).i32(y).u8({kind, dx, dy, res});
    }
    std::vector<std::uint8_t> data;
};

// Every stored field and the selection, as a failure message shows a vertex.
inline std::string describe(const Vertex& v) {
    return "(" + std::to_string(v.x) + ", " + std::to_string(v.y) + ", kind " +
           std::to_string(v.kind) + ", offset " + std::to_string(v.wobbleDx) + "/" +
           std::to_string(v.wobbleDy) + ", reserved " + std::to_string(v.reserved) + ", selected " +
           std::to_string(v.selected) + ")";
}

// The two lists agree in every stored byte and in the selection.
inline ::testing::AssertionResult sameVertices(const VertexList& a, const VertexList& b) {
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "vertex count " << a.size() << " vs " << b.size();
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (describe(a[i]) != describe(b[i]))
            return ::testing::AssertionFailure()
                   << "vertex " << i << ": " << describe(a[i]) << " vs " << describe(b[i]);
    }
    return ::testing::AssertionSuccess();
}

// A vertex with every stored field given.
inline Vertex storedVertex(std::int32_t x, std::int32_t y, int kind, int dx = 0, int dy = 0,
                           int reserved = 0) {
    return Vertex{x,
                  y,
                  static_cast<std::uint8_t>(kind),
                  static_cast<std::int8_t>(dx),
                  static_cast<std::int8_t>(dy),
                  static_cast<std::uint8_t>(reserved),
                  0};
}

}  // namespace rek::test
