#pragma once

#include "model/color_rgb.h"

namespace rek {

// The colour samples: the cube of the component levels 0, 127 and 255, red varying fastest,
// then green, then blue (index = r + 3g + 9b with r, g, b counting levels 0 to 2).
inline constexpr int kPaletteSize = 27;

ColorRgb paletteColor(int index);

}  // namespace rek
