#include "canvas/vertex_moves.h"

#include "render/geometry_ops.h"

namespace rek {

void translateVertices(VertexList& vertices, std::int32_t dx, std::int32_t dy,
                       MovedVertices which) {
    for (Vertex& v : vertices) {
        if (which == MovedVertices::Selected && !v.isSelected())
            continue;
        v.x = clampCoordinate(static_cast<std::int64_t>(v.x) + dx);
        v.y = clampCoordinate(static_cast<std::int64_t>(v.y) + dy);
    }
}

void scaleSelectedVertices(VertexList& vertices, Point pivot, float factor) {
    for (Vertex& v : vertices) {
        if (!v.isSelected())
            continue;
        const Point scaled = scaleAboutPivot(Point{v.x, v.y}, pivot, factor);
        v.x = clampCoordinate(scaled.x);
        v.y = clampCoordinate(scaled.y);
    }
}

}  // namespace rek
