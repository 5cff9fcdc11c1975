#pragma once

#include <QImage>
#include <QPointF>

namespace rek::test {

// The painter's line and dot scan conversion in its first, straightforward form (every row
// from scratch, square roots for the end discs). The tuned painter must paint exactly these
// pixels, so this copy stays as it was.
void referenceLine(QImage& image, QPointF from, QPointF to, int width, QRgb color);
void referenceDot(QImage& image, QPointF center, int diameter, QRgb color);

}  // namespace rek::test
