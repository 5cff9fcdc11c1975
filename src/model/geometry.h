#pragma once

#include <cstdint>

namespace rek {

// A pixel position in canvas coordinates: origin at the top-left of the drawing area, y down.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// Move, scale and the border-drag shift keep coordinates within this range.
inline constexpr std::int32_t kCoordinateLimit = 30000;

constexpr std::int32_t clampCoordinate(std::int64_t value) {
    if (value < -kCoordinateLimit)
        return -kCoordinateLimit;
    if (value > kCoordinateLimit)
        return kCoordinateLimit;
    return static_cast<std::int32_t>(value);
}

// Angles use pi as 3.141592 throughout, so shapes and headings match stored models exactly.
inline constexpr double kDegreesToRadians = 0.01745328888888889;
inline constexpr double kRadiansToDegrees = 57.29579143313326;

}  // namespace rek
