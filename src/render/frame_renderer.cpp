#include "render/frame_renderer.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <thread>

#include "render/geometry_ops.h"
#include "render/raster_painter.h"

namespace rek {

namespace {

constexpr ColorRgb kHighlightRed{255, 0, 0};

int penWidth(const ModelProperties& properties) {
    return std::clamp(properties.lineWidth, kMinLineWidth, kMaxLineWidth);
}

QRgb toRgb(ColorRgb color) {
    return qRgb(color.red, color.green, color.blue);
}

int threadCount(int asked) {
    if (asked > 0)
        return std::min(asked, kMaxRendererThreads);
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                      kMaxRendererThreads);
}

QPointF jittered(Point position, const Vertex& vertex) {
    // In double, so positions near the 32-bit limits cannot overflow.
    return QPointF(static_cast<double>(position.x) + vertex.wobbleDx,
                   static_cast<double>(position.y) + vertex.wobbleDy);
}

// The same in whole pixels, which is what the frame's lines are made of.
struct Pixel {
    std::int64_t x;
    std::int64_t y;
};

Pixel jitteredPixel(Point position, const Vertex& vertex) {
    return {std::int64_t{position.x} + vertex.wobbleDx, std::int64_t{position.y} + vertex.wobbleDy};
}

// The lines of the line pass, in drawing order; the shadow pass draws the same lines moved by
// its offset, and stops at the same place during a replay. Returns false when the pass stopped
// at the replay length, true when it went through the whole list.
bool collectLines(const FrameScene& scene, FrameRaster& raster) {
    const std::span<const Vertex> vertices = scene.vertices;
    const bool replaying = scene.replayLength.has_value();
    const double replayLength = scene.replayLength.value_or(0);
    double length = 0.0;
    bool penPlaced = false;
    Pixel pen{0, 0};

    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        Point position{vertex.x, vertex.y};
        if (scene.scale && vertex.isSelected()) {
            const Point scaled = scaleAboutPivot(position, scene.scale->pivot, scene.scale->factor);
            position = {clampCoordinate(scaled.x), clampCoordinate(scaled.y)};
        }
        const Pixel drawn = jitteredPixel(position, vertex);

        // A Joined vertex with no stroke before it (only possible from a file) starts one.
        if (vertex.isStrokeStart() || (vertex.isJoined() && !penPlaced)) {
            pen = drawn;
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
                                        std::trunc(remaining * std::cos(heading));
                    const double endY = static_cast<double>(previous.y) + previous.wobbleDy +
                                        std::trunc(remaining * std::sin(heading));
                    raster.add(QPointF(static_cast<double>(pen.x), static_cast<double>(pen.y)),
                               QPointF(endX, endY));
                    return false;
                }
                length += segment;
            }
            raster.add(pen.x, pen.y, drawn.x, drawn.y);
            pen = drawn;
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

// Where the highlight's lines and dots go: straight onto the surface, or the lines into the
// coverage mask (composited when all are in) and the few dots onto the surface.
class HighlightPen {
  public:
    HighlightPen(RasterPainter& painter, FrameRaster* raster)
        : painter_(painter), raster_(raster) {}

    void moveTo(QPointF point) {
        if (raster_)
            pen_ = point;
        else
            painter_.moveTo(point);
    }
    void lineTo(QPointF point) {
        if (raster_) {
            raster_->add(pen_, point);
            pen_ = point;
        } else {
            painter_.lineTo(point);
        }
    }
    void dot(QPointF center, int diameter) { painter_.dot(center, diameter, kHighlightRed); }

  private:
    RasterPainter& painter_;
    FrameRaster* raster_;
    QPointF pen_;
};

void drawSelectionHighlight(const OverlayScene& overlays, HighlightPen& pen, int width) {
    const std::span<const Vertex> vertices = overlays.vertices;
    const int markerDiameter = width + 2;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        if (!vertex.isSelected())
            continue;
        Point position{vertex.x, vertex.y};
        if (overlays.scale)
            position = scaleAboutPivot(position, overlays.scale->pivot, overlays.scale->factor);
        const QPointF drawn = jittered(position, vertex);
        const Vertex* next = i + 1 < vertices.size() ? &vertices[i + 1] : nullptr;

        if (i == 0) {
            pen.moveTo(drawn);
            if (next == nullptr || !next->isSelected() || next->isStrokeStart())
                pen.dot(drawn, markerDiameter);
        } else if (vertices[i - 1].isSelected() && !vertex.isStrokeStart()) {
            // The pen stands on the previous vertex's highlighted point.
            pen.lineTo(drawn);
        } else {
            pen.moveTo(drawn);
            const bool nextDrawsSegment =
                next != nullptr && next->isSelected() && !next->isStrokeStart();
            if (!nextDrawsSegment)
                pen.dot(drawn, markerDiameter);
        }
    }
}

}  // namespace

FrameRenderer::FrameRenderer(RendererOptions options)
    : surface_(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32),
      raster_(kSurfaceWidth, kSurfaceHeight, options.split),
      workers_(threadCount(options.threads)),
      maskedHighlightFrom_(options.maskedHighlightFrom) {
    surface_.fill(Qt::white);
}

FrameResult FrameRenderer::drawFrame(const FrameScene& scene) {
    const ModelProperties& properties = scene.properties;
    const int width = penWidth(properties);
    // Only shadowMode 0 asks for a shadow; anything else from a file means none.
    const bool shadowOn = properties.shadowMode == 0;
    raster_.begin(width, width / 2, shadowOn);
    const bool complete = collectLines(scene, raster_);
    FrameLook look;
    look.canvasWidth = std::clamp(properties.width, 0, kSurfaceWidth);
    look.canvasHeight = std::clamp(properties.height, 0, kSurfaceHeight);
    look.background = toRgb(properties.backgroundColor);
    look.shadow = toRgb(properties.shadowColor);
    look.line = toRgb(properties.lineColor);
    look.shadowOn = shadowOn;
    raster_.draw(surface_, look, tables_, workers_);
    return FrameResult{complete};
}

void FrameRenderer::drawOverlays(const OverlayScene& overlays) {
    const int width = std::clamp(overlays.lineWidth, kMinLineWidth, kMaxLineWidth);
    RasterPainter painter(surface_, tables_);
    drawRubberBand(overlays.band, painter, width);

    painter.setPen(kHighlightRed, width);
    const auto selected = static_cast<std::size_t>(
        std::count_if(overlays.vertices.begin(), overlays.vertices.end(),
                      [](const Vertex& vertex) { return vertex.isSelected(); }));
    if (selected == 0)
        return;
    const bool masked = selected >= maskedHighlightFrom_;
    if (masked)
        raster_.begin(width, 0, false);
    HighlightPen pen(painter, masked ? &raster_ : nullptr);
    drawSelectionHighlight(overlays, pen, width);
    if (masked) {
        // Red where the highlight's lines are, everything else as it was.
        FrameLook look;
        look.line = toRgb(kHighlightRed);
        raster_.draw(surface_, look, tables_, workers_);
    }
}

QImage FrameRenderer::frame(const ModelProperties& properties) const {
    return surface_.copy(0, 0, std::clamp(properties.width, 0, kSurfaceWidth),
                         std::clamp(properties.height, 0, kSurfaceHeight));
}

}  // namespace rek
