#pragma once

// The colours a GIF export's frames may show beyond those of its sample picture, worked out
// from the model's three colours and how the frames are brought to their size.

#include <vector>

#include "export/export_job.h"
#include "model/color_rgb.h"
#include "model/model_properties.h"

namespace rek {

struct LikelyGifColours {
    std::vector<ColorRgb> colours;  // no colour twice, at most 256
    // True when they only come close to what the frames hold: a colour met later is then to
    // be shown as the nearest one.
    bool approximate = false;
};

// - Without anti-aliasing, the background, line and shadow colours; where the stretch copy
//   shrinks, it ANDs the colours that fall on one pixel: every AND of two or three of them
//   too. Exact.
// - With anti-aliasing, shrinking each axis by a whole factor (or keeping it) averages
//   n = factor x factor pixels with equal weights: every mixture of the three colours in
//   n-ths, exact as long as they are few (n up to 16).
// - Any other resize blends in weights without end: mixtures on ever finer steps (halves,
//   thirds, quarters, ...), coarse steps first, up to 256. Approximate.
LikelyGifColours likelyGifColours(const ModelProperties& properties, const ExportRequest& request);

}  // namespace rek
