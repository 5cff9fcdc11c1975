#include "export/gif_frame_diff.h"

#include <algorithm>
#include <cstring>

namespace rek::detail {

namespace {

// The rectangle of the pixels for which differs(row, x) holds, scanning each row only as
// far as it can still widen what was found.
template <typename RowDiffers, typename PixelDiffers>
PixelRect boundingRect(int width, int height, RowDiffers rowDiffers, PixelDiffers differs) {
    int top = 0;
    while (top < height && !rowDiffers(top))
        ++top;
    if (top == height)
        return {};
    int bottom = height - 1;
    while (bottom > top && !rowDiffers(bottom))
        --bottom;

    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < left; ++x) {
            if (differs(y, x)) {
                left = x;
                break;
            }
        }
        for (int x = width - 1; x > right; --x) {
            if (differs(y, x)) {
                right = x;
                break;
            }
        }
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

}  // namespace

PixelRect changedRect(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                      int width, int height) {
    const auto w = static_cast<std::size_t>(width);
    const std::uint8_t* a = before.data();
    const std::uint8_t* b = after.data();
    return boundingRect(
        width, height,
        [&](int y) {
            const std::size_t at = static_cast<std::size_t>(y) * w;
            return std::memcmp(a + at, b + at, w) != 0;
        },
        [&](int y, int x) {
            const std::size_t at = static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x);
            return a[at] != b[at];
        });
}

PixelRect rectOfOthers(std::span<const std::uint8_t> pixels, int width, int height,
                       std::uint8_t value) {
    const auto w = static_cast<std::size_t>(width);
    const std::uint8_t* p = pixels.data();
    return boundingRect(
        width, height,
        [&](int y) {
            const std::uint8_t* row = p + static_cast<std::size_t>(y) * w;
            return std::any_of(row, row + w, [value](std::uint8_t v) { return v != value; });
        },
        [&](int y, int x) {
            return p[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] != value;
        });
}

void cropInto(std::span<const std::uint8_t> pixels, int width, const PixelRect& rect,
              std::vector<std::uint8_t>& out) {
    const auto w = static_cast<std::size_t>(width);
    const auto rw = static_cast<std::size_t>(rect.width);
    out.resize(rw * static_cast<std::size_t>(rect.height));
    for (int y = 0; y < rect.height; ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(rect.top + y) * w +
                                  static_cast<std::size_t>(rect.left);
        std::memcpy(out.data() + static_cast<std::size_t>(y) * rw, row, rw);
    }
}

bool cropUnchangedAs(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                     int width, const PixelRect& rect, std::uint8_t keep,
                     std::vector<std::uint8_t>& out) {
    const auto w = static_cast<std::size_t>(width);
    const auto rw = static_cast<std::size_t>(rect.width);
    out.resize(rw * static_cast<std::size_t>(rect.height));
    bool anyKept = false;
    for (int y = 0; y < rect.height; ++y) {
        const std::size_t at =
            static_cast<std::size_t>(rect.top + y) * w + static_cast<std::size_t>(rect.left);
        const std::uint8_t* old = before.data() + at;
        const std::uint8_t* now = after.data() + at;
        std::uint8_t* row = out.data() + static_cast<std::size_t>(y) * rw;
        for (std::size_t x = 0; x < rw; ++x) {
            const bool same = old[x] == now[x];
            row[x] = same ? keep : now[x];
            anyKept |= same;
        }
    }
    return anyKept;
}

std::size_t runCount(std::span<const std::uint8_t> pixels) {
    if (pixels.empty())
        return 0;
    std::size_t runs = 1;
    for (std::size_t i = 1; i < pixels.size(); ++i)
        runs += pixels[i] != pixels[i - 1] ? 1 : 0;
    return runs;
}

}  // namespace rek::detail
