#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "export/image_internal.h"
#include "export/image_library.h"
#include "model/atomic_file.h"

namespace rek {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

std::vector<std::uint8_t> encodeBmp(const Image& image) {
    const auto width = static_cast<std::size_t>(image.width());
    const auto height = static_cast<std::size_t>(image.height());
    const std::size_t stride = (width + 3) & ~std::size_t{3};
    const auto colours = static_cast<std::uint32_t>(image.palette().size());
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    // Image sizes are bounded far below 4 GiB, so every size fits its 32-bit field.
    const auto pixelBytes = static_cast<std::uint32_t>(stride * height);

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + pixelBytes);
    put32(out, 0);  // two reserved words
    put32(out, pixelOffset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(image.width()));
    put32(out, static_cast<std::uint32_t>(image.height()));  // positive: bottom-up rows
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);  // uncompressed
    put32(out, pixelBytes);
    put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    put32(out, colours);
    put32(out, 0);

    for (const ColorRgb& c : image.palette()) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }

    const std::uint8_t* indices = image.indices().data();
    for (std::size_t row = height; row-- > 0;) {
        const std::uint8_t* line = indices + row * width;
        out.insert(out.end(), line, line + width);
        out.resize(out.size() + (stride - width), 0);
    }
    return out;
}

}  // namespace

bool saveBmp(const Image& image, const std::string& path, Flush flush) {
    std::unique_ptr<Image> holder;
    const Image* reduced = detail::reducedForm(image, holder);
    if (reduced == nullptr) {
        return false;
    }
    try {
        return writeFileAtomically(path, encodeBmp(*reduced), flush);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace rek
