#pragma once

// What part of a GIF frame has to be written: rectangles over frames of palette indices
// (width * height of them, top row first).

#include <cstdint>
#include <span>
#include <vector>

namespace rek::detail {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The smallest rectangle holding every pixel where the two frames differ; empty when none.
PixelRect changedRect(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                      int width, int height);

// The smallest rectangle holding every pixel that is not `value`; empty when there is none.
PixelRect rectOfOthers(std::span<const std::uint8_t> pixels, int width, int height,
                       std::uint8_t value);

// The rectangle's pixels, row after row, into `out` (resized to fit). May throw
// std::bad_alloc.
void cropInto(std::span<const std::uint8_t> pixels, int width, const PixelRect& rect,
              std::vector<std::uint8_t>& out);

// The rectangle of `after` as cropInto has it, but with every pixel that equals `before`
// written as `keep`. False, with `out` in no particular state, when no pixel there stays the
// same. May throw std::bad_alloc.
bool cropUnchangedAs(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                     int width, const PixelRect& rect, std::uint8_t keep,
                     std::vector<std::uint8_t>& out);

// The number of runs of equal values: a cheap guess at how well LZW will do.
std::size_t runCount(std::span<const std::uint8_t> pixels);

}  // namespace rek::detail
