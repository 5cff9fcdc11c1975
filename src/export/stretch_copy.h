#pragma once

// The resize used without anti-aliasing: a stretching copy that never averages.

#include <cstddef>
#include <cstdint>

namespace rek {

// Copies a source region of 0x??RRGGBB pixels (top row first, `sourceStride` pixels a row) to
// a target of targetWidth x targetHeight 0x00RRGGBB pixels (top row first, no gaps), the form
// Image::fromRgb takes. Where the target is smaller, the source pixels that fall on one target
// pixel are combined by a bitwise AND of their colour values, so that dark lines on a light
// background survive the shrink; where it is larger, pixels are repeated. Equal sizes give a
// plain copy. All sizes must be positive.
void stretchCopyAnd(const std::uint32_t* source, std::size_t sourceStride, int sourceWidth,
                    int sourceHeight, std::uint32_t* target, int targetWidth, int targetHeight);

}  // namespace rek
