#pragma once

#include <cstdint>
#include <string>

#include "model/model_properties.h"
#include "model/vertex.h"

namespace rek {

// The one open document. New and Open replace its contents, never the object.
struct Model {
    ModelProperties properties;
    VertexList vertices;
    bool modified = false;
    // True when the last selection operation left at least one vertex selected.
    bool selectionExists = false;
    std::string filePath;     // the file system's bytes; empty for a new model
    std::string displayName;  // file name without folder; empty for a new model
};

enum class AppendResult {
    Added,    // a vertex was created
    Reused,   // a trailing lone stroke start was moved to the point
    Dropped,  // the point equals the tail: nothing changed
    OutOfMemory
};

// The only way tools add vertices. Sets `modified` when something was added or reused.
AppendResult appendVertex(Model& model, std::int32_t x, std::int32_t y, bool joined);
void clearVertices(Model& model);
std::int32_t countVertices(const Model& model);

// Sets the canvas size: clamped to at most 800 x 600 and at least 10 x 10; a zero in either
// argument keeps the current size. Returns whether the size changed. The window centres the
// canvas for the size it finds in the model.
bool applyCanvasSize(Model& model, std::int32_t width, std::int32_t height);

struct PropertyChanges {
    bool size = false;        // the canvas must be re-centred
    bool appearance = false;  // anything else: colours, widths, wobble, speed, shadow

    bool any() const { return size || appearance; }
};

// Sets every property at once, the one way undo, loading and the properties dialog change
// them. Values are first brought into their safe ranges (sanitizeStoredProperties); the size
// goes through applyCanvasSize, so a zero keeps the current one.
PropertyChanges setProperties(Model& model, const ModelProperties& properties);

}  // namespace rek
