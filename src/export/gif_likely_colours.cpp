#include "export/gif_likely_colours.h"

#include <algorithm>
#include <cmath>

namespace rek {

namespace {

constexpr std::size_t kMaxColours = 256;
// Blends on steps finer than 1/64 of the way between two colours no longer differ by a level.
constexpr int kFinestStep = 64;

void addNew(std::vector<ColorRgb>& colours, ColorRgb colour) {
    if (std::find(colours.begin(), colours.end(), colour) == colours.end())
        colours.push_back(colour);
}

ColorRgb andOf(ColorRgb a, ColorRgb b) {
    return {static_cast<std::uint8_t>(a.red & b.red), static_cast<std::uint8_t>(a.green & b.green),
            static_cast<std::uint8_t>(a.blue & b.blue)};
}

std::uint8_t mixed(std::uint8_t base, std::uint8_t first, std::uint8_t second, double toFirst,
                   double toSecond) {
    const double value = base + toFirst * (first - base) + toSecond * (second - base);
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

std::vector<ColorRgb> likelyGifColours(const ModelProperties& properties, bool antiAlias) {
    const ColorRgb background = properties.backgroundColor;
    const ColorRgb line = properties.lineColor;
    const ColorRgb shadow = properties.shadowColor;
    std::vector<ColorRgb> colours;
    if (!antiAlias) {
        for (ColorRgb colour :
             {background, line, shadow, andOf(background, line), andOf(background, shadow),
              andOf(line, shadow), andOf(andOf(background, line), shadow)})
            addNew(colours, colour);
        return colours;
    }
    for (int step = 1; step <= kFinestStep && colours.size() < kMaxColours; ++step) {
        for (int toLine = 0; toLine <= step && colours.size() < kMaxColours; ++toLine) {
            for (int toShadow = 0; toShadow + toLine <= step && colours.size() < kMaxColours;
                 ++toShadow) {
                const double a = static_cast<double>(toLine) / step;
                const double b = static_cast<double>(toShadow) / step;
                addNew(colours, {mixed(background.red, line.red, shadow.red, a, b),
                                 mixed(background.green, line.green, shadow.green, a, b),
                                 mixed(background.blue, line.blue, shadow.blue, a, b)});
            }
        }
    }
    return colours;
}

}  // namespace rek
