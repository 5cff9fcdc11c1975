#pragma once

#include <cstdint>

namespace rek {

struct ColorRgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const ColorRgb&, const ColorRgb&) = default;
};

}  // namespace rek
