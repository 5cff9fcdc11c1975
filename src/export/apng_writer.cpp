#include "export/apng_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace rek {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint32_t get32(const std::uint8_t* in) {
    return (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) |
           (std::uint32_t{in[2]} << 8) | in[3];
}

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The smallest rectangle holding every pixel that differs; 1 x 1 at the origin when none does
// (a frame cannot be empty).
Rect changedRect(const RgbaFrame& before, const RgbaFrame& after) {
    int left = after.width;
    int right = -1;
    int top = after.height;
    int bottom = -1;
    for (int y = 0; y < after.height; ++y) {
        const std::uint32_t* a = &before.pixels[static_cast<std::size_t>(y) * after.width];
        const std::uint32_t* b = &after.pixels[static_cast<std::size_t>(y) * after.width];
        int x = 0;
        while (x < after.width && a[x] == b[x])
            ++x;
        if (x == after.width)
            continue;
        int last = after.width - 1;
        while (a[last] == b[last])
            --last;
        left = std::min(left, x);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0)
        return {0, 0, 1, 1};
    return {left, top, right - left + 1, bottom - top + 1};
}

// The compressed image data of an encoded PNG: its IDAT chunks joined.
std::vector<std::uint8_t> imageData(const std::vector<PngChunk>& chunks) {
    std::vector<std::uint8_t> data;
    for (const PngChunk& chunk : chunks) {
        if (chunk.type == "IDAT")
            data.insert(data.end(), chunk.data.begin(), chunk.data.end());
    }
    return data;
}

}  // namespace

std::optional<std::vector<PngChunk>> pngChunks(const std::vector<std::uint8_t>& file) {
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0)
        return std::nullopt;
    std::vector<PngChunk> chunks;
    std::size_t at = 8;
    while (at < file.size()) {
        if (file.size() - at < 12)
            return std::nullopt;
        const std::uint32_t length = get32(&file[at]);
        if (length > file.size() - at - 12)
            return std::nullopt;
        const std::uint8_t* type = &file[at + 4];
        const std::uint8_t* data = type + 4;
        const uLong crc = crc32(crc32(0L, Z_NULL, 0), type, 4 + length);
        if (get32(data + length) != static_cast<std::uint32_t>(crc))
            return std::nullopt;
        chunks.push_back({std::string(reinterpret_cast<const char*>(type), 4),
                          std::vector<std::uint8_t>(data, data + length)});
        at += 12 + length;
    }
    return chunks;
}

ApngWriter::ApngWriter(std::string path, int width, int height, std::uint32_t frameCount,
                       std::uint16_t delayCentiseconds, bool alpha,
                       std::vector<std::uint32_t> palette)
    : file_(std::move(path)),
      width_(width),
      height_(height),
      frameCount_(frameCount),
      delay_(delayCentiseconds),
      layout_(!palette.empty() ? PngPixels::Palette
              : alpha          ? PngPixels::Rgba
                               : PngPixels::Rgb),
      palette_(std::move(palette)) {}

bool ApngWriter::open() {
    if (!file_.open()) {
        failed_ = true;
        return false;
    }
    return true;
}

bool ApngWriter::writeChunk(const char type[4], const std::vector<std::uint8_t>& data) {
    std::uint8_t head[8];
    const auto length = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        head[i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, head + 4, 4);
    // zlib answers 0 for a missing buffer, so an empty chunk adds nothing to the sum.
    if (!data.empty())
        crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    std::uint8_t tail[4];
    for (int i = 0; i < 4; ++i)
        tail[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(crc) >> (24 - 8 * i));
    if (!file_.write(head, 8) || !file_.write(data.data(), data.size()) || !file_.write(tail, 4))
        failed_ = true;
    return !failed_;
}

bool ApngWriter::writeFrameControl(int x, int y, int width, int height) {
    std::vector<std::uint8_t> control;
    put32(control, sequence_++);
    put32(control, static_cast<std::uint32_t>(width));
    put32(control, static_cast<std::uint32_t>(height));
    put32(control, static_cast<std::uint32_t>(x));
    put32(control, static_cast<std::uint32_t>(y));
    put16(control, delay_);
    put16(control, 100);   // the delay in hundredths of a second
    control.push_back(0);  // dispose: none, the frame stays under the next
    control.push_back(0);  // blend: source, the frame's pixels replace what was there
    return writeChunk("fcTL", control);
}

bool ApngWriter::addFrame(const RgbaFrame& frame) {
    if (failed_ || frame.width != width_ || frame.height != height_ ||
        framesAdded_ >= frameCount_) {
        failed_ = true;
        return false;
    }
    try {
        if (framesAdded_ == 0) {
            const auto encoded = encodePng(PixelRegion::of(frame), layout_, palette_);
            const auto chunks = encoded ? pngChunks(*encoded) : std::nullopt;
            if (!chunks || chunks->empty() || chunks->front().type != "IHDR") {
                failed_ = true;
                return false;
            }
            std::vector<std::uint8_t> animation;
            put32(animation, frameCount_);
            put32(animation, 0);  // plays: forever
            bool ok = file_.write(kSignature, sizeof kSignature) &&
                      writeChunk("IHDR", chunks->front().data) && writeChunk("acTL", animation);
            // The palette and its transparency serve every frame.
            for (const PngChunk& chunk : *chunks) {
                if (ok && (chunk.type == "PLTE" || chunk.type == "tRNS"))
                    ok = writeChunk(chunk.type.c_str(), chunk.data);
            }
            if (!ok || !writeFrameControl(0, 0, width_, height_) ||
                !writeChunk("IDAT", imageData(*chunks))) {
                failed_ = true;
                return false;
            }
        } else {
            const Rect changed = changedRect(previous_, frame);
            const auto encoded = encodePng(
                PixelRegion::of(frame).crop(changed.x, changed.y, changed.width, changed.height),
                layout_, palette_);
            const auto chunks = encoded ? pngChunks(*encoded) : std::nullopt;
            if (!chunks) {
                failed_ = true;
                return false;
            }
            if (!writeFrameControl(changed.x, changed.y, changed.width, changed.height)) {
                failed_ = true;
                return false;
            }
            std::vector<std::uint8_t> data;
            put32(data, sequence_++);
            const std::vector<std::uint8_t> compressed = imageData(*chunks);
            data.insert(data.end(), compressed.begin(), compressed.end());
            if (!writeChunk("fdAT", data)) {
                failed_ = true;
                return false;
            }
        }
        previous_.width = frame.width;
        previous_.height = frame.height;
        previous_.pixels.assign(frame.pixels.begin(), frame.pixels.end());
    } catch (const std::bad_alloc&) {
        failed_ = true;
        return false;
    }
    ++framesAdded_;
    return true;
}

bool ApngWriter::finish() {
    if (failed_ || framesAdded_ != frameCount_)
        return false;
    return writeChunk("IEND", {}) && file_.commit();
}

}  // namespace rek
