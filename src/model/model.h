#pragma once

#include <cstdint>
#include <string>

#include "model/color_rgb.h"
#include "model/model_properties.h"
#include "model/user_message.h"
#include "model/vertex.h"

namespace rek {

// The one open document. New and Open replace its contents, never the object.
struct Model {
    ModelProperties properties;
    VertexList vertices;
    bool modified = false;
    // True when the last selection operation left at least one vertex selected.
    bool selectionExists = false;
    std::string filePath;     // UTF-8; empty for a new model
    std::string displayName;  // file name without folder; empty for a new model
};

enum class AppendResult {
    Added,    // a vertex was created
    Reused,   // a trailing lone stroke start was moved to the point
    Dropped,  // the point equals the tail: nothing changed
    OutOfMemory
};

inline const char* const kVertexMemoryMessage = "頂点用のメモリが確保できません。";

// The only way tools add vertices. Sets `modified` when something was added or reused.
AppendResult appendVertex(Model& model, std::int32_t x, std::int32_t y, bool joined);
void clearVertices(Model& model);
std::int32_t countVertices(const Model& model);

enum class ColorTarget { Line, Shadow, Background };

// What a property change means for the renderer's pens and the dialogs' swatches.
struct ResourceChange {
    bool lineWidth = false;
    bool color = false;
};

// Sets the target colour and the line width; the renderer picks both up at the next frame.
ResourceChange applyColor(Model& model, ColorTarget target, ColorRgb color, std::int32_t lineWidth);

// Sets the canvas size: clamped to at most 800 x 600 and at least 10 x 10; a zero in either
// argument keeps the current size. Returns whether the size changed. The window centres the
// canvas for the size it finds in the model.
bool applyCanvasSize(Model& model, std::int32_t width, std::int32_t height);

}  // namespace rek
