#include "model/model.h"

#include <algorithm>
#include <new>

namespace rek {

AppendResult appendVertex(Model& model, std::int32_t x, std::int32_t y, bool joined) {
    VertexList& list = model.vertices;
    const std::uint8_t kind =
        static_cast<std::uint8_t>(joined ? VertexKind::Joined : VertexKind::StrokeStart);

    if (!list.empty()) {
        Vertex& tail = list.back();
        // A repeated point would make a zero-length segment; the tail keeps its kind.
        if (tail.x == x && tail.y == y)
            return AppendResult::Dropped;
        // A stroke start that never received a segment is moved rather than left behind.
        if (!joined && tail.isStrokeStart()) {
            tail = Vertex{x, y, kind, 0, 0, 0, 0};
            model.modified = true;
            return AppendResult::Reused;
        }
    }

    try {
        list.push_back(Vertex{x, y, kind, 0, 0, 0, 0});
    } catch (const std::bad_alloc&) {
        return AppendResult::OutOfMemory;
    }
    model.modified = true;
    return AppendResult::Added;
}

void clearVertices(Model& model) {
    // Give the memory back: a cleared model may have held millions of vertices.
    VertexList().swap(model.vertices);
}

std::int32_t countVertices(const Model& model) {
    return static_cast<std::int32_t>(std::min<std::size_t>(model.vertices.size(), INT32_MAX));
}

bool applyCanvasSize(Model& model, std::int32_t width, std::int32_t height) {
    if (width == 0 || height == 0)
        return false;
    width = std::clamp(width, kMinCanvasSize, kMaxCanvasWidth);
    height = std::clamp(height, kMinCanvasSize, kMaxCanvasHeight);
    ModelProperties& properties = model.properties;
    if (properties.width == width && properties.height == height)
        return false;
    properties.width = width;
    properties.height = height;
    return true;
}

PropertyChanges setProperties(Model& model, const ModelProperties& wanted) {
    const ModelProperties safe = sanitizeStoredProperties(wanted);
    PropertyChanges changes;
    changes.size = applyCanvasSize(model, safe.width, safe.height);

    ModelProperties appearance = safe;
    appearance.width = model.properties.width;
    appearance.height = model.properties.height;
    changes.appearance = appearance != model.properties;
    model.properties = appearance;
    return changes;
}

}  // namespace rek
