#include "export/gif_likely_colours.h"

#include <algorithm>
#include <cmath>

namespace rek {

namespace {

constexpr std::size_t kMaxColours = 256;
// Equal-weight averages of more pixels than this make too many mixtures to list exactly.
constexpr int kMaxExactPixels = 16;
// Blends on steps finer than 1/64 of the way between two colours no longer differ by a level.
constexpr int kFinestStep = 64;

void addNew(std::vector<ColorRgb>& colours, ColorRgb colour) {
    if (colours.size() < kMaxColours &&
        std::find(colours.begin(), colours.end(), colour) == colours.end())
        colours.push_back(colour);
}

ColorRgb andOf(ColorRgb a, ColorRgb b) {
    return {static_cast<std::uint8_t>(a.red & b.red), static_cast<std::uint8_t>(a.green & b.green),
            static_cast<std::uint8_t>(a.blue & b.blue)};
}

// The background moved `toLine` of the way to the line colour and `toShadow` of the way to the
// shadow colour, rounded as the resampler rounds.
ColorRgb mixture(const ModelProperties& p, int toLine, int toShadow, int steps) {
    auto channel = [&](std::uint8_t background, std::uint8_t line, std::uint8_t shadow) {
        const double value =
            (static_cast<double>(background) * (steps - toLine - toShadow) +
             static_cast<double>(line) * toLine + static_cast<double>(shadow) * toShadow) /
            steps;
        return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    };
    return {channel(p.backgroundColor.red, p.lineColor.red, p.shadowColor.red),
            channel(p.backgroundColor.green, p.lineColor.green, p.shadowColor.green),
            channel(p.backgroundColor.blue, p.lineColor.blue, p.shadowColor.blue)};
}

void addMixtures(std::vector<ColorRgb>& colours, const ModelProperties& p, int steps) {
    for (int toLine = 0; toLine <= steps; ++toLine)
        for (int toShadow = 0; toShadow + toLine <= steps; ++toShadow)
            addNew(colours, mixture(p, toLine, toShadow, steps));
}

// The whole factor a canvas side shrinks by to reach the target side; 0 when it is none.
int wholeFactor(int canvas, int target) {
    return target > 0 && target <= canvas && canvas % target == 0 ? canvas / target : 0;
}

}  // namespace

LikelyGifColours likelyGifColours(const ModelProperties& properties, const ExportRequest& request) {
    LikelyGifColours likely;
    const ColorRgb background = properties.backgroundColor;
    const ColorRgb line = properties.lineColor;
    const ColorRgb shadow = properties.shadowColor;
    // The frames are drawn at the canvas size, as the frame producer has it.
    const int canvasWidth = std::clamp(properties.width, 1, kMaxCanvasWidth);
    const int canvasHeight = std::clamp(properties.height, 1, kMaxCanvasHeight);
    if (!request.antiAlias) {
        addNew(likely.colours, background);
        addNew(likely.colours, line);
        addNew(likely.colours, shadow);
        if (request.width < canvasWidth || request.height < canvasHeight) {
            for (ColorRgb colour : {andOf(background, line), andOf(background, shadow),
                                    andOf(line, shadow), andOf(andOf(background, line), shadow)})
                addNew(likely.colours, colour);
        }
        return likely;
    }
    const int across = wholeFactor(canvasWidth, request.width);
    const int down = wholeFactor(canvasHeight, request.height);
    if (across > 0 && down > 0 && across * down <= kMaxExactPixels) {
        addMixtures(likely.colours, properties, across * down);
        return likely;
    }
    likely.approximate = true;
    for (int steps = 1; steps <= kFinestStep && likely.colours.size() < kMaxColours; ++steps)
        addMixtures(likely.colours, properties, steps);
    return likely;
}

}  // namespace rek
