#include "shell/dialogs/color_palette.h"

#include <cstdint>

namespace rek {

namespace {

std::uint8_t level(int n) {
    return static_cast<std::uint8_t>(n * 255 / 2);
}

}  // namespace

ColorRgb paletteColor(int index) {
    if (index < 0 || index >= kPaletteSize)
        return ColorRgb{};
    return ColorRgb{level(index % 3), level(index / 3 % 3), level(index / 9)};
}

}  // namespace rek
