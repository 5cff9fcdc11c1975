#pragma once

#include <QImage>

#include "model/color_rgb.h"
#include "model/model_properties.h"

namespace rek::test {

inline constexpr ColorRgb kLine{0, 0, 0};
inline constexpr ColorRgb kShadow{0, 0, 200};
inline constexpr ColorRgb kBackground{255, 255, 0};
inline constexpr ColorRgb kRed{255, 0, 0};

// A small canvas with distinct colours and no shadow.
inline ModelProperties plainProperties() {
    ModelProperties properties;
    properties.width = 200;
    properties.height = 200;
    properties.lineColor = kLine;
    properties.shadowColor = kShadow;
    properties.backgroundColor = kBackground;
    properties.shadowMode = 1;
    properties.lineWidth = 4;
    return properties;
}

inline bool hasColor(const QImage& image, int x, int y, ColorRgb color) {
    return image.pixel(x, y) == qRgb(color.red, color.green, color.blue);
}

// Number of pixels of that colour in column x.
inline int countInColumn(const QImage& image, int x, ColorRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += hasColor(image, x, y, color) ? 1 : 0;
    return count;
}

}  // namespace rek::test
