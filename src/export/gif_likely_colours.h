#pragma once

// The colours a GIF export's frames may show beyond those of its sample picture, worked out
// from the model's three colours alone.

#include <vector>

#include "model/color_rgb.h"
#include "model/model_properties.h"

namespace rek {

// Without anti-aliasing, a frame shrunk by the stretch copy ANDs the colours that fall on one
// pixel together: the background, line and shadow colours and every AND of two or three of
// them. With anti-aliasing, resizing blends them: their mixtures on ever finer steps (halves,
// thirds, quarters, ...), coarse steps first, at most 256. No colour twice.
std::vector<ColorRgb> likelyGifColours(const ModelProperties& properties, bool antiAlias);

}  // namespace rek
