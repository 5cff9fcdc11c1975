#pragma once

#include <cstdint>

#include "model/color_rgb.h"

namespace rek {

inline constexpr std::int32_t kMaxCanvasWidth = 800;
inline constexpr std::int32_t kMaxCanvasHeight = 600;
inline constexpr std::int32_t kMinCanvasSize = 10;

// How the drawing is shown. The member initialisers are the standard values.
struct ModelProperties {
    std::int32_t width = 800;
    std::int32_t height = 600;
    std::int32_t wobbleAmount = 3;
    std::int32_t vtrSpeed = 40;
    ColorRgb lineColor{0, 0, 0};
    ColorRgb shadowColor{138, 72, 0};
    ColorRgb backgroundColor{238, 156, 0};
    std::int32_t shadowMode = 0;  // 0: shadow drawn, 1: no shadow
    std::int32_t lineWidth = 4;

    friend bool operator==(const ModelProperties&, const ModelProperties&) = default;
};

// Safe ranges for values read from files: anything outside would crash, hang or overflow.
inline constexpr std::int32_t kMaxWobbleAmount = 127;  // offsets are signed 8-bit
inline constexpr std::int32_t kMinLineWidth = 1;
inline constexpr std::int32_t kMaxLineWidth = 100;
inline constexpr std::int32_t kMinVtrSpeed = 1;  // zero would replay forever
inline constexpr std::int32_t kMaxVtrSpeed = 1000000;

// Brings stored values into their safe ranges. A zero width or height is kept: it means
// "keep the current canvas size" to applyCanvasSize.
ModelProperties sanitizeStoredProperties(ModelProperties properties);

}  // namespace rek
