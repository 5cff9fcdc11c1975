#pragma once

// What the renderer is asked to draw: plain values, so that the editor on screen and the
// exports (from their own copy of the drawing) describe frames the same way.

#include <cstdint>
#include <optional>
#include <span>

#include "model/geometry.h"
#include "model/model_properties.h"
#include "model/vertex.h"

namespace rek {

// A scale drag in progress: the selected vertices are drawn scaled about the pivot.
struct ScalePreview {
    Point pivot;
    float factor = 1.0f;
};

// One frame of the drawing: background, shadow pass and line pass.
struct FrameScene {
    std::span<const Vertex> vertices;
    ModelProperties properties;
    // During a replay: the length of line, in pixels along the drawing, that is drawn.
    std::optional<std::uint32_t> replayLength;
    std::optional<ScalePreview> scale;
};

// The outline a tool shows while the button is held.
struct RubberBand {
    enum class Shape {
        None,
        Line,           // a red line from `from` to `to`
        Rectangle,      // red outlines with the line width
        Ellipse,        // of the rectangle from `from` to `to`
        SelectionBand,  // a one-pixel dotted black and white rectangle outline
    };
    Shape shape = Shape::None;
    Point from;
    Point to;
};

// What is drawn over a finished frame outside a replay: the rubber band and the red
// highlight of the selected vertices.
struct OverlayScene {
    std::span<const Vertex> vertices;
    std::int32_t lineWidth = 4;
    RubberBand band;
    std::optional<ScalePreview> scale;
};

}  // namespace rek
