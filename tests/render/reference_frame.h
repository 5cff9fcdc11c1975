#pragma once

#include <QImage>

#include "render/frame_scene.h"

namespace rek::test {

// A frame as it was first drawn, pass after pass: the background over the canvas region, then
// the shadow pass and the line pass, each walking the list on its own and scan-converting
// every line with referenceLine into `surface` (800 x 600, keeping what lies outside the
// canvas and under no line). The renderer must paint exactly these pixels.
void referenceFrame(QImage& surface, const FrameScene& scene);

}  // namespace rek::test
