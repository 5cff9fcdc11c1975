#include "export/gif_stream.h"

#include <algorithm>
#include <utility>

#include "export/image_internal.h"
#include "model/atomic_file.h"

namespace rek::detail {

namespace {

constexpr std::size_t kSubBlockBytes = 255;
constexpr int kMaxScreenSide = 65535;

constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kColourTableFlag = 0x80;

// The size field of a colour table's flags: the table holds 2^(field + 1) entries.
std::uint8_t tableSizeField(std::size_t paletteSize) {
    std::uint8_t field = 0;
    while ((std::size_t{2} << field) < static_cast<std::size_t>(colorTableSize(paletteSize)))
        ++field;
    return field;
}

}  // namespace

int lzwCodeSizeFor(std::uint8_t highestIndex) {
    int bits = 2;
    while ((1 << bits) <= highestIndex)
        ++bits;
    return bits;
}

GifStream::GifStream(std::string path) : path_(std::move(path)) {}

GifStream::~GifStream() = default;

void GifStream::putWord(int value) {
    putByte(static_cast<std::uint8_t>(value & 0xFF));
    putByte(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void GifStream::putColourTable(std::span<const ColorRgb> palette) {
    const auto entries = static_cast<std::size_t>(colorTableSize(palette.size()));
    for (std::size_t i = 0; i < entries; ++i) {
        const ColorRgb colour = i < palette.size() ? palette[i] : ColorRgb{};
        putByte(colour.red);
        putByte(colour.green);
        putByte(colour.blue);
    }
}

bool GifStream::flush() {
    if (!file_->write(pending_.data(), pending_.size()))
        failed_ = true;
    pending_.clear();
    return !failed_;
}

bool GifStream::open(int width, int height, std::span<const ColorRgb> globalPalette, bool loop) {
    if (file_ || width < 1 || height < 1 || width > kMaxScreenSide || height > kMaxScreenSide ||
        globalPalette.empty() || globalPalette.size() > 256)
        return false;
    file_ = std::make_unique<AtomicFile>(path_);
    if (!file_->open()) {
        failed_ = true;
        return false;
    }
    width_ = width;
    height_ = height;

    static constexpr char kSignature[] = "GIF89a";
    pending_.insert(pending_.end(), kSignature, kSignature + 6);
    putWord(width);
    putWord(height);
    // A global table, 8 bits of colour resolution, not sorted, its size.
    putByte(static_cast<std::uint8_t>(kColourTableFlag | (7 << 4) |
                                      tableSizeField(globalPalette.size())));
    putByte(0);  // background colour index
    putByte(0);  // no pixel aspect ratio
    putColourTable(globalPalette);

    if (loop) {
        static constexpr char kApplication[] = "NETSCAPE2.0";
        putByte(kExtensionIntroducer);
        putByte(kApplicationLabel);
        putByte(11);
        pending_.insert(pending_.end(), kApplication, kApplication + 11);
        putByte(3);
        putByte(1);  // the loop sub-block
        putWord(0);  // repeat forever
        putByte(0);
    }
    return true;
}

bool GifStream::putImage(const GifImage& image) {
    if (!file_ || failed_)
        return false;
    if (image.left < 0 || image.top < 0 || image.width < 1 || image.height < 1 ||
        image.left > width_ - image.width || image.top > height_ - image.height ||
        image.localPalette.size() > 256 || image.lzwCodeSize < 2 || image.lzwCodeSize > 8 ||
        image.transparentIndex > 255)
        return false;

    putByte(kExtensionIntroducer);
    putByte(kGraphicControlLabel);
    putByte(4);
    const bool transparent = image.transparentIndex >= 0;
    putByte(static_cast<std::uint8_t>((static_cast<int>(image.disposal) & 7) << 2 |
                                      (transparent ? 1 : 0)));
    putWord(image.delayCentiseconds);
    putByte(transparent ? static_cast<std::uint8_t>(image.transparentIndex) : 0);
    putByte(0);

    putByte(kImageSeparator);
    putWord(image.left);
    putWord(image.top);
    putWord(image.width);
    putWord(image.height);
    if (image.localPalette.empty()) {
        putByte(0);
    } else {
        putByte(static_cast<std::uint8_t>(kColourTableFlag |
                                          tableSizeField(image.localPalette.size())));
        putColourTable(image.localPalette);
    }

    putByte(static_cast<std::uint8_t>(image.lzwCodeSize));
    for (std::size_t at = 0; at < image.lzwData.size(); at += kSubBlockBytes) {
        const std::size_t size = std::min(kSubBlockBytes, image.lzwData.size() - at);
        putByte(static_cast<std::uint8_t>(size));
        const auto from = image.lzwData.begin() + static_cast<std::ptrdiff_t>(at);
        pending_.insert(pending_.end(), from, from + static_cast<std::ptrdiff_t>(size));
    }
    putByte(0);
    // Each image goes to the file as soon as it is complete.
    return flush();
}

bool GifStream::finish() {
    if (!file_ || failed_)
        return false;
    putByte(kTrailer);
    const bool ok = flush() && file_->commit();
    file_.reset();
    return ok;
}

}  // namespace rek::detail
