#include "export/svg_export.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "export/export_frames.h"
#include "model/atomic_file.h"

namespace rek {

namespace {

std::string hexColour(ColorRgb color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color.red, color.green, color.blue);
    return text;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// The path data of every stroke, as the renderer walks the vertices: a stroke start (or a
// joined vertex with no stroke before it) places the pen, a joined vertex draws to itself,
// other kinds draw nothing. Strokes without a segment draw nothing and are left out.
std::vector<std::string> strokePaths(std::span<const Vertex> vertices, bool wobbleOffsets) {
    std::vector<std::string> paths;
    std::string current;
    bool hasSegment = false;
    auto finish = [&] {
        if (hasSegment)
            paths.push_back(std::move(current));
        current.clear();
        hasSegment = false;
    };
    for (const Vertex& vertex : vertices) {
        const double x = static_cast<double>(vertex.x) + (wobbleOffsets ? vertex.wobbleDx : 0);
        const double y = static_cast<double>(vertex.y) + (wobbleOffsets ? vertex.wobbleDy : 0);
        const std::string point = number(x) + " " + number(y);
        if (vertex.isStrokeStart() || (vertex.isJoined() && current.empty())) {
            finish();
            current = "M" + point;
        } else if (vertex.isJoined()) {
            current += " L" + point;
            hasSegment = true;
        }
    }
    finish();
    return paths;
}

void appendPass(std::string& svg, const std::vector<std::string>& paths, ColorRgb color, int width,
                int offset) {
    svg += "<g fill=\"none\" stroke=\"" + hexColour(color) + "\" stroke-width=\"" +
           std::to_string(width) + "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    if (offset != 0)
        svg += " transform=\"translate(" + std::to_string(offset) + " " + std::to_string(offset) +
               ")\"";
    svg += ">\n";
    for (const std::string& path : paths)
        svg += "<path d=\"" + path + "\"/>\n";
    svg += "</g>\n";
}

}  // namespace

std::string drawingAsSvg(const AnimationSnapshot& snapshot, const ExportRequest& request) {
    const ModelProperties& properties = snapshot.properties;
    const int canvasWidth = std::clamp(properties.width, 1, kMaxCanvasWidth);
    const int canvasHeight = std::clamp(properties.height, 1, kMaxCanvasHeight);
    const int lineWidth = std::clamp(properties.lineWidth, kMinLineWidth, kMaxLineWidth);

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           std::to_string(request.width) + "\" height=\"" + std::to_string(request.height) +
           "\" viewBox=\"0 0 " + std::to_string(canvasWidth) + " " + std::to_string(canvasHeight) +
           "\" preserveAspectRatio=\"none\"";
    if (!request.antiAlias)
        svg += " shape-rendering=\"crispEdges\"";
    svg += ">\n";
    if (!request.transparent) {
        svg += "<rect width=\"" + std::to_string(canvasWidth) + "\" height=\"" +
               std::to_string(canvasHeight) + "\" fill=\"" + hexColour(properties.backgroundColor) +
               "\"/>\n";
    }
    const std::vector<std::string> paths = strokePaths(snapshot.vertices, request.wobbleOffsets);
    // Only shadowMode 0 asks for a shadow, as on screen.
    if (properties.shadowMode == 0)
        appendPass(svg, paths, properties.shadowColor, lineWidth, lineWidth / 2);
    appendPass(svg, paths, properties.lineColor, lineWidth, 0);
    svg += "</svg>\n";
    return svg;
}

ExportOutcome exportSvg(const ExportPlan& plan, ExportProgress& progress, std::stop_token stop) {
    const ExportRequest& request = plan.request();
    progress.stageChanged(ExportStage::CreatingImages);
    progress.frameCountKnown(1);
    std::string svg;
    try {
        svg = drawingAsSvg(plan.snapshot(), request);
    } catch (const std::bad_alloc&) {
        return detail::exportFailure(ExportErrorCode::FrameImageMemory);
    }
    if (stop.stop_requested())
        return detail::exportFailure(ExportErrorCode::Cancelled);
    progress.frameDone(1);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(svg.data());
    if (!writeFileAtomically(request.path, std::span<const std::uint8_t>(bytes, svg.size()))) {
        return detail::cannotWrite(request.path);
    }
    return detail::exportFinished(progress, 1);
}

}  // namespace rek
