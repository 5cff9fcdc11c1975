#include "export/stretch_copy.h"

#include <algorithm>
#include <vector>

namespace rek {

namespace {

struct Span {
    int first;
    int end;  // one past the last source index
};

// The source indices that land on each target index: [t * s / n, (t + 1) * s / n), at least one.
std::vector<Span> spans(int sourceSize, int targetSize) {
    std::vector<Span> result(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        const int first = static_cast<int>(std::int64_t{t} * sourceSize / targetSize);
        const int end = static_cast<int>(std::int64_t{t + 1} * sourceSize / targetSize);
        result[static_cast<std::size_t>(t)] = {first, std::max(end, first + 1)};
    }
    return result;
}

}  // namespace

void stretchCopyAnd(const std::uint32_t* source, std::size_t sourceStride, int sourceWidth,
                    int sourceHeight, std::uint32_t* target, int targetWidth, int targetHeight) {
    const std::vector<Span> columns = spans(sourceWidth, targetWidth);
    const std::vector<Span> rows = spans(sourceHeight, targetHeight);
    std::vector<std::uint32_t> combinedRow(static_cast<std::size_t>(sourceWidth));

    for (int ty = 0; ty < targetHeight; ++ty) {
        // AND the source rows of this target row together, then the columns of each pixel.
        const Span rowSpan = rows[static_cast<std::size_t>(ty)];
        const std::uint32_t* first =
            source + static_cast<std::size_t>(rowSpan.first) * sourceStride;
        std::copy(first, first + sourceWidth, combinedRow.begin());
        for (int sy = rowSpan.first + 1; sy < rowSpan.end; ++sy) {
            const std::uint32_t* row = source + static_cast<std::size_t>(sy) * sourceStride;
            for (int x = 0; x < sourceWidth; ++x)
                combinedRow[static_cast<std::size_t>(x)] &= row[x];
        }

        std::uint32_t* out = target + static_cast<std::size_t>(ty) * targetWidth;
        for (int tx = 0; tx < targetWidth; ++tx) {
            const Span columnSpan = columns[static_cast<std::size_t>(tx)];
            std::uint32_t pixel = combinedRow[static_cast<std::size_t>(columnSpan.first)];
            for (int sx = columnSpan.first + 1; sx < columnSpan.end; ++sx)
                pixel &= combinedRow[static_cast<std::size_t>(sx)];
            out[tx] = pixel & 0x00FFFFFFu;
        }
    }
}

}  // namespace rek
