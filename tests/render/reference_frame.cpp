#include "reference_frame.h"

#include <algorithm>
#include <cmath>

#include "reference_capsule.h"
#include "render/geometry_ops.h"

namespace rek::test {

namespace {

QRgb rgbOf(ColorRgb color) {
    return qRgb(color.red, color.green, color.blue);
}

void referencePass(QImage& surface, const FrameScene& scene, int width, QRgb color, int offset) {
    const auto& vertices = scene.vertices;
    const double replayLength = scene.replayLength.value_or(0);
    double length = 0.0;
    bool penPlaced = false;
    QPointF pen;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& vertex = vertices[i];
        Point position{vertex.x, vertex.y};
        if (scene.scale && vertex.isSelected()) {
            const Point scaled = scaleAboutPivot(position, scene.scale->pivot, scene.scale->factor);
            position = {clampCoordinate(scaled.x), clampCoordinate(scaled.y)};
        }
        const QPointF drawn(static_cast<double>(position.x) + vertex.wobbleDx + offset,
                            static_cast<double>(position.y) + vertex.wobbleDy + offset);
        if (vertex.isStrokeStart() || (vertex.isJoined() && !penPlaced)) {
            pen = drawn;
            penPlaced = true;
            continue;
        }
        if (!vertex.isJoined())
            continue;
        if (scene.replayLength) {
            const Vertex& previous = vertices[i - 1];
            const double segment = segmentLength(previous, vertex);
            if (length + segment >= replayLength) {
                const double remaining = replayLength - length;
                const double heading =
                    std::atan2(static_cast<double>(vertex.y) + vertex.wobbleDy - previous.y,
                               static_cast<double>(vertex.x) + vertex.wobbleDx - previous.x);
                const QPointF end(static_cast<double>(previous.x) + previous.wobbleDx + offset +
                                      std::trunc(remaining * std::cos(heading)),
                                  static_cast<double>(previous.y) + previous.wobbleDy + offset +
                                      std::trunc(remaining * std::sin(heading)));
                referenceLine(surface, pen, end, width, color);
                return;
            }
            length += segment;
        }
        referenceLine(surface, pen, drawn, width, color);
        pen = drawn;
    }
}

}  // namespace

void referenceFrame(QImage& surface, const FrameScene& scene) {
    const ModelProperties& properties = scene.properties;
    const int width = std::clamp(properties.lineWidth, kMinLineWidth, kMaxLineWidth);
    const int canvasWidth = std::clamp(properties.width, 0, surface.width());
    const int canvasHeight = std::clamp(properties.height, 0, surface.height());
    const QRgb background = rgbOf(properties.backgroundColor);
    for (int y = 0; y < canvasHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(surface.scanLine(y));
        std::fill(row, row + canvasWidth, background);
    }
    if (properties.shadowMode == 0)
        referencePass(surface, scene, width, rgbOf(properties.shadowColor), width / 2);
    referencePass(surface, scene, width, rgbOf(properties.lineColor), 0);
}

}  // namespace rek::test
