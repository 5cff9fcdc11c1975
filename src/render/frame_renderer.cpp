#include "render/frame_renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/animation_clock.h"
#include "render/geometry_ops.h"
#include "render/raster_painter.h"

namespace rek {

namespace {

constexpr ColorRgb kHighlightRed{255, 0, 0};

int penWidth(const ModelProperties& properties) {
    return std::clamp(properties.lineWidth, kMinLineWidth, kMaxLineWidth);
}

QPointF jittered(Point position, const Vertex& vertex, int offset) {
    // In double, so positions near the 32-bit limits cannot overflow.
    return QPointF(static_cast<double>(position.x) + vertex.wobbleDx + offset,
                   static_cast<double>(position.y) + vertex.wobbleDy + offset);
}

// One pass over the list with the pen already chosen. Returns false when the pass stopped at
// the replay position, true when it went through the whole list.
bool drawPass(EditorState& state, RasterPainter& painter, int offset) {
    const VertexList& vertices = state.model.vertices;
    const ToolState& tool = state.tool;
    const bool replaying = state.playback.vtrPlaying;
    const double replayLength = state.playback.vtrDrawnLength;
    double length = 0.0;
    bool penPlaced = false;

    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        Point position{vertex.x, vertex.y};
        if (tool.scaleMode && vertex.isSelected()) {
            const Point scaled = scaleAboutPivot(position, tool.scalePivot, tool.scaleFactor);
            position = {clampCoordinate(scaled.x), clampCoordinate(scaled.y)};
        }
        const QPointF drawn = jittered(position, vertex, offset);

        // A Joined vertex with no stroke before it (only possible from a file) starts one.
        if (vertex.isStrokeStart() || (vertex.isJoined() && !penPlaced)) {
            painter.moveTo(drawn);
            penPlaced = true;
        } else if (vertex.isJoined()) {
            if (replaying) {
                const Vertex& previous = vertices[i - 1];
                const double segment = segmentLength(previous, vertex);
                if (length + segment >= replayLength) {
                    // The replay stands inside this segment: draw the part it has reached,
                    // heading from the previous stored position to this jittered one.
                    const double remaining = replayLength - length;
                    const double heading =
                        std::atan2(static_cast<double>(vertex.y) + vertex.wobbleDy - previous.y,
                                   static_cast<double>(vertex.x) + vertex.wobbleDx - previous.x);
                    const double endX = static_cast<double>(previous.x) + previous.wobbleDx +
                                        offset + std::trunc(remaining * std::cos(heading));
                    const double endY = static_cast<double>(previous.y) + previous.wobbleDy +
                                        offset + std::trunc(remaining * std::sin(heading));
                    painter.lineTo(QPointF(endX, endY));
                    return false;
                }
                length += segment;
            }
            painter.lineTo(drawn);
        }
        // Other kinds are kept in the list but draw nothing.
    }
    if (!replaying) {
        state.drawnVertexCount = static_cast<std::int32_t>(
            std::min<std::size_t>(vertices.size(), std::numeric_limits<std::int32_t>::max()));
    }
    return true;
}

void drawRubberBand(const EditorState& state, RasterPainter& painter, int width) {
    const ToolState& tool = state.tool;
    if (!tool.dragging || tool.moveMode || tool.scaleMode)
        return;
    const QPointF start(tool.dragStart.x, tool.dragStart.y);
    const QPointF pointer(tool.pointer.x, tool.pointer.y);
    switch (tool.mode) {
        case ToolMode::StraightLine:
        case ToolMode::Curve:
            if (!state.model.vertices.empty()) {
                const Vertex& last = state.model.vertices.back();
                painter.setPen(kHighlightRed, width);
                painter.moveTo(QPointF(last.x, last.y));
                painter.lineTo(pointer);
            }
            break;
        case ToolMode::Rect:
        case ToolMode::FilledRect:
            painter.setPen(kHighlightRed, width);
            painter.rectOutline(start, pointer);
            break;
        case ToolMode::Circle:
        case ToolMode::FilledCircle:
            painter.setPen(kHighlightRed, width);
            painter.ellipseOutline(start, pointer);
            break;
        case ToolMode::RangeSelect:
            painter.dottedRectOutline(QPoint(tool.dragStart.x, tool.dragStart.y),
                                      QPoint(tool.pointer.x, tool.pointer.y));
            break;
    }
}

void drawSelectionHighlight(const EditorState& state, RasterPainter& painter, int width) {
    const VertexList& vertices = state.model.vertices;
    const ToolState& tool = state.tool;
    const int markerDiameter = width + 2;
    painter.setPen(kHighlightRed, width);
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        if (!vertex.isSelected())
            continue;
        Point position{vertex.x, vertex.y};
        if (tool.scaleMode)
            position = scaleAboutPivot(position, tool.scalePivot, tool.scaleFactor);
        const QPointF drawn = jittered(position, vertex, 0);
        const Vertex* next = i + 1 < vertices.size() ? &vertices[i + 1] : nullptr;

        if (i == 0) {
            painter.moveTo(drawn);
            if (next == nullptr || !next->isSelected())
                painter.dot(drawn, markerDiameter, kHighlightRed);
        } else if (vertices[i - 1].isSelected() && !vertex.isStrokeStart()) {
            // The pen stands on the previous vertex's highlighted point.
            painter.lineTo(drawn);
        } else {
            painter.moveTo(drawn);
            const bool nextDrawsSegment =
                next != nullptr && next->isSelected() && !next->isStrokeStart();
            if (!nextDrawsSegment)
                painter.dot(drawn, markerDiameter, kHighlightRed);
        }
    }
}

}  // namespace

FrameRenderer::FrameRenderer() : surface_(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32) {
    surface_.fill(Qt::white);
}

FrameOutcome FrameRenderer::drawFrame(EditorState& state) {
    const ModelProperties& properties = state.model.properties;
    const int width = penWidth(properties);
    bool completed = true;
    {
        RasterPainter painter(surface_);
        painter.fillRect(0, 0, std::clamp(properties.width, 0, kSurfaceWidth),
                         std::clamp(properties.height, 0, kSurfaceHeight),
                         properties.backgroundColor);
        // Only shadowMode 0 asks for a shadow; anything else from a file means none.
        if (properties.shadowMode == 0) {
            painter.setPen(properties.shadowColor, width);
            completed = drawPass(state, painter, width / 2);
        }
        painter.setPen(properties.lineColor, width);
        completed = drawPass(state, painter, 0);
    }

    FrameOutcome outcome;
    if (state.playback.vtrPlaying) {
        outcome.vtrStepped = true;
        if (completed) {
            stopVtr(state);
            outcome.vtrEnded = true;
        } else {
            // Saturating, so a huge speed cannot wrap the length back to the start.
            const std::uint32_t speed =
                static_cast<std::uint32_t>(std::max(state.model.properties.vtrSpeed, 1));
            std::uint32_t& drawn = state.playback.vtrDrawnLength;
            drawn = drawn > std::numeric_limits<std::uint32_t>::max() - speed
                        ? std::numeric_limits<std::uint32_t>::max()
                        : drawn + speed;
        }
    }
    return outcome;
}

void FrameRenderer::drawOverlays(const EditorState& state) {
    const int width = penWidth(state.model.properties);
    RasterPainter painter(surface_);
    drawRubberBand(state, painter, width);
    drawSelectionHighlight(state, painter, width);
}

QImage FrameRenderer::frame(const ModelProperties& properties) const {
    return surface_.copy(0, 0, std::clamp(properties.width, 0, kSurfaceWidth),
                         std::clamp(properties.height, 0, kSurfaceHeight));
}

}  // namespace rek
