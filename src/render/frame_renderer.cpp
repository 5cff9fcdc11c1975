#include "render/frame_renderer.h"

#include <algorithm>
#include <cmath>
#include <span>

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
// the replay length, true when it went through the whole list.
bool drawPass(const FrameScene& scene, RasterPainter& painter, int offset) {
    const std::span<const Vertex> vertices = scene.vertices;
    const bool replaying = scene.replayLength.has_value();
    const double replayLength = scene.replayLength.value_or(0);
    double length = 0.0;
    bool penPlaced = false;

    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        Point position{vertex.x, vertex.y};
        if (scene.scale && vertex.isSelected()) {
            const Point scaled = scaleAboutPivot(position, scene.scale->pivot, scene.scale->factor);
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
    return true;
}

void drawRubberBand(const RubberBand& band, RasterPainter& painter, int width) {
    const QPointF from(band.from.x, band.from.y);
    const QPointF to(band.to.x, band.to.y);
    switch (band.shape) {
        case RubberBand::Shape::None:
            break;
        case RubberBand::Shape::Line:
            painter.setPen(kHighlightRed, width);
            painter.moveTo(from);
            painter.lineTo(to);
            break;
        case RubberBand::Shape::Rectangle:
            painter.setPen(kHighlightRed, width);
            painter.rectOutline(from, to);
            break;
        case RubberBand::Shape::Ellipse:
            painter.setPen(kHighlightRed, width);
            painter.ellipseOutline(from, to);
            break;
        case RubberBand::Shape::SelectionBand:
            painter.dottedRectOutline(QPoint(band.from.x, band.from.y),
                                      QPoint(band.to.x, band.to.y));
            break;
    }
}

void drawSelectionHighlight(const OverlayScene& overlays, RasterPainter& painter, int width) {
    const std::span<const Vertex> vertices = overlays.vertices;
    const int markerDiameter = width + 2;
    painter.setPen(kHighlightRed, width);
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        if (!vertex.isSelected())
            continue;
        Point position{vertex.x, vertex.y};
        if (overlays.scale)
            position = scaleAboutPivot(position, overlays.scale->pivot, overlays.scale->factor);
        const QPointF drawn = jittered(position, vertex, 0);
        const Vertex* next = i + 1 < vertices.size() ? &vertices[i + 1] : nullptr;

        if (i == 0) {
            painter.moveTo(drawn);
            if (next == nullptr || !next->isSelected() || next->isStrokeStart())
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

FrameResult FrameRenderer::drawFrame(const FrameScene& scene) {
    const ModelProperties& properties = scene.properties;
    const int width = penWidth(properties);
    RasterPainter painter(surface_);
    painter.fillRect(0, 0, std::clamp(properties.width, 0, kSurfaceWidth),
                     std::clamp(properties.height, 0, kSurfaceHeight), properties.backgroundColor);
    // Only shadowMode 0 asks for a shadow; anything else from a file means none.
    if (properties.shadowMode == 0) {
        painter.setPen(properties.shadowColor, width);
        drawPass(scene, painter, width / 2);
    }
    painter.setPen(properties.lineColor, width);
    return FrameResult{drawPass(scene, painter, 0)};
}

void FrameRenderer::drawOverlays(const OverlayScene& overlays) {
    const int width = std::clamp(overlays.lineWidth, kMinLineWidth, kMaxLineWidth);
    RasterPainter painter(surface_);
    drawRubberBand(overlays.band, painter, width);
    drawSelectionHighlight(overlays, painter, width);
}

QImage FrameRenderer::frame(const ModelProperties& properties) const {
    return surface_.copy(0, 0, std::clamp(properties.width, 0, kSurfaceWidth),
                         std::clamp(properties.height, 0, kSurfaceHeight));
}

}  // namespace rek
