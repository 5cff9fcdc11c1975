#pragma once

#include <QImage>
#include <initializer_list>

#include "render/editor_state.h"

namespace rek::test {

inline constexpr ColorRgb kLine{0, 0, 0};
inline constexpr ColorRgb kShadow{0, 0, 200};
inline constexpr ColorRgb kBackground{255, 255, 0};
inline constexpr ColorRgb kRed{255, 0, 0};

// A small canvas with distinct colours, no shadow and no wobble: lines sit on their stored
// coordinates unless a test asks otherwise.
inline EditorState plainState() {
    EditorState state;
    state.wobbleEnabled = false;
    state.model.properties.width = 200;
    state.model.properties.height = 200;
    state.model.properties.lineColor = kLine;
    state.model.properties.shadowColor = kShadow;
    state.model.properties.backgroundColor = kBackground;
    state.model.properties.shadowMode = 1;
    state.model.properties.lineWidth = 4;
    return state;
}

inline Vertex vertexAt(int x, int y, VertexKind kind, bool selected = false) {
    Vertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.kind = static_cast<std::uint8_t>(kind);
    vertex.selected = selected ? 1 : 0;
    return vertex;
}

// Appends one stroke: the first point starts it, the others join.
inline void addStroke(EditorState& state, std::initializer_list<Point> points) {
    bool first = true;
    for (Point point : points) {
        state.model.vertices.push_back(
            vertexAt(point.x, point.y, first ? VertexKind::StrokeStart : VertexKind::Joined));
        first = false;
    }
}

inline bool hasColor(const QImage& image, int x, int y, ColorRgb color) {
    return image.pixel(x, y) == qRgb(color.red, color.green, color.blue);
}

// Number of pixels of that colour in column x.
inline int countInColumn(const QImage& image, int x, ColorRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += hasColor(image, x, y, color) ? 1 : 0;
    return count;
}

}  // namespace rek::test
