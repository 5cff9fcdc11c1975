#include "format_decoders.h"

#include <png.h>
#include <webp/demux.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <string>

#include "file_helpers.h"

namespace rek::test {

namespace {

std::uint32_t get32(const std::uint8_t* in) {
    return (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) |
           (std::uint32_t{in[2]} << 8) | in[3];
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data,
              std::size_t length) {
    put32(out, static_cast<std::uint32_t>(length));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + length);
    put32(out,
          static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(4 + length))));
}

struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (reader->at + length > reader->bytes->size())
        png_error(png, "truncated");
    std::memcpy(out, reader->bytes->data() + reader->at, length);
    reader->at += length;
}

bool readImage(png_structp png, png_infop info, Reader* reader, RgbaFrame* frame,
               std::vector<png_bytep>* rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, reader, readBytes);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    frame->width = static_cast<int>(png_get_image_width(png, info));
    frame->height = static_cast<int>(png_get_image_height(png, info));
    frame->pixels.assign(static_cast<std::size_t>(frame->width) * frame->height, 0);
    rows->resize(static_cast<std::size_t>(frame->height));
    for (int y = 0; y < frame->height; ++y)
        (*rows)[y] =
            reinterpret_cast<png_bytep>(&frame->pixels[static_cast<std::size_t>(y) * frame->width]);
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<RgbaFrame> decodePng(const std::vector<std::uint8_t>& bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader reader{&bytes, 0};
    RgbaFrame frame;
    std::vector<png_bytep> rows;
    const bool ok = readImage(png, info, &reader, &frame, &rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return std::nullopt;
    // libpng gives R, G, B, A bytes; as words on this little-endian machine that is
    // 0xAABBGGRR, so red and blue swap places.
    for (std::uint32_t& p : frame.pixels)
        p = (p >> 24) == 0 ? 0 : (p & 0xFF00FF00) | ((p >> 16) & 0xFF) | ((p & 0xFF) << 16);
    return frame;
}

std::optional<RgbaFrame> decodePng(const std::filesystem::path& file) {
    return decodePng(readFileBytes(file));
}

std::optional<int> pngColorType(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = readFileBytes(file);
    if (bytes.size() < 33 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
        return std::nullopt;
    return bytes[25];
}

std::optional<DecodedAnimation> decodeWebp(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = readFileBytes(file);
    WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_BGRA;  // 0xAARRGGBB words on this machine
    std::unique_ptr<WebPAnimDecoder, void (*)(WebPAnimDecoder*)> decoder(
        WebPAnimDecoderNew(&data, &options), WebPAnimDecoderDelete);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info))
        return std::nullopt;
    DecodedAnimation animation;
    animation.width = static_cast<int>(info.canvas_width);
    animation.height = static_cast<int>(info.canvas_height);
    animation.loopCount = info.loop_count;
    int previous = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        std::uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder.get(), &pixels, &timestamp))
            return std::nullopt;
        RgbaFrame frame{animation.width, animation.height, {}};
        frame.pixels.resize(static_cast<std::size_t>(frame.width) * frame.height);
        std::memcpy(frame.pixels.data(), pixels, frame.pixels.size() * 4);
        for (std::uint32_t& p : frame.pixels)
            p = (p >> 24) == 0 ? 0 : p;
        animation.frames.push_back(std::move(frame));
        animation.delaysMs.push_back(timestamp - previous);
        previous = timestamp;
    }
    return animation;
}

std::optional<DecodedAnimation> decodeApng(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = readFileBytes(file);
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return std::nullopt;

    DecodedAnimation animation;
    std::vector<std::uint8_t> header;   // IHDR data
    std::vector<std::uint8_t> palette;  // PLTE and tRNS chunks, whole, for every frame
    std::uint32_t announced = 0;
    std::uint32_t nextSequence = 0;
    bool sawActl = false;
    bool sawIend = false;

    struct Control {
        std::uint32_t width, height, x, y;
        std::uint16_t delayNum, delayDen;
        std::uint8_t dispose, blend;
    };
    std::optional<Control> pending;
    std::vector<std::uint8_t> pendingData;
    RgbaFrame canvas;

    auto finishFrame = [&]() -> bool {
        if (!pending)
            return true;
        // A PNG of the frame's rectangle: the file's header with the frame's size.
        std::vector<std::uint8_t> png(kSignature, kSignature + 8);
        std::vector<std::uint8_t> ihdr = header;
        for (int i = 0; i < 4; ++i) {
            ihdr[i] = static_cast<std::uint8_t>(pending->width >> (24 - 8 * i));
            ihdr[4 + i] = static_cast<std::uint8_t>(pending->height >> (24 - 8 * i));
        }
        putChunk(png, "IHDR", ihdr.data(), ihdr.size());
        png.insert(png.end(), palette.begin(), palette.end());
        putChunk(png, "IDAT", pendingData.data(), pendingData.size());
        putChunk(png, "IEND", nullptr, 0);
        const std::optional<RgbaFrame> part = decodePng(png);
        if (!part || pending->x + pending->width > static_cast<std::uint32_t>(canvas.width) ||
            pending->y + pending->height > static_cast<std::uint32_t>(canvas.height))
            return false;
        const RgbaFrame before = canvas;
        for (std::uint32_t y = 0; y < pending->height; ++y) {
            for (std::uint32_t x = 0; x < pending->width; ++x) {
                const std::uint32_t source = part->at(static_cast<int>(x), static_cast<int>(y));
                std::uint32_t& target =
                    canvas.pixels[(pending->y + y) * canvas.width + pending->x + x];
                // Blend "over" is only exact for opaque or empty pixels, all the exports write.
                if (pending->blend == 0 || (source >> 24) == 0xFF)
                    target = source;
                else if ((source >> 24) != 0)
                    return false;
            }
        }
        animation.frames.push_back(canvas);
        animation.storedAreas.push_back(std::uint64_t{pending->width} * pending->height);
        const int den = pending->delayDen == 0 ? 100 : pending->delayDen;
        animation.delaysMs.push_back(pending->delayNum * 1000 / den);
        if (pending->dispose == 1) {
            for (std::uint32_t y = 0; y < pending->height; ++y)
                for (std::uint32_t x = 0; x < pending->width; ++x)
                    canvas.pixels[(pending->y + y) * canvas.width + pending->x + x] = 0;
        } else if (pending->dispose == 2) {
            canvas = before;
        }
        pending.reset();
        pendingData.clear();
        return true;
    };

    std::size_t at = 8;
    while (at + 12 <= bytes.size() && !sawIend) {
        const std::uint32_t length = get32(&bytes[at]);
        if (length > bytes.size() - at - 12)
            return std::nullopt;
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        const std::uint8_t* data = &bytes[at + 8];
        if (get32(data + length) !=
            static_cast<std::uint32_t>(crc32(0, &bytes[at + 4], 4 + length)))
            return std::nullopt;
        if (type == "IHDR") {
            header.assign(data, data + length);
            canvas.width = static_cast<int>(get32(data));
            canvas.height = static_cast<int>(get32(data + 4));
            canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
            animation.width = canvas.width;
            animation.height = canvas.height;
        } else if (type == "PLTE" || type == "tRNS") {
            palette.insert(palette.end(), &bytes[at], &bytes[at] + 12 + length);
        } else if (type == "acTL") {
            if (length != 8 || !animation.frames.empty() || pending)
                return std::nullopt;
            sawActl = true;
            announced = get32(data);
            animation.loopCount = get32(data + 4);
        } else if (type == "fcTL") {
            if (length != 26 || get32(data) != nextSequence++ || !finishFrame())
                return std::nullopt;
            pending = Control{get32(data + 4),
                              get32(data + 8),
                              get32(data + 12),
                              get32(data + 16),
                              static_cast<std::uint16_t>((data[20] << 8) | data[21]),
                              static_cast<std::uint16_t>((data[22] << 8) | data[23]),
                              data[24],
                              data[25]};
        } else if (type == "IDAT") {
            if (!pending || !animation.frames.empty())
                return std::nullopt;
            pendingData.insert(pendingData.end(), data, data + length);
        } else if (type == "fdAT") {
            if (!pending || length < 4 || get32(data) != nextSequence++)
                return std::nullopt;
            pendingData.insert(pendingData.end(), data + 4, data + length);
        } else if (type == "IEND") {
            sawIend = true;
        }
        at += 12 + length;
    }
    if (!sawActl || !sawIend || !finishFrame() || animation.frames.size() != announced)
        return std::nullopt;
    return animation;
}

}  // namespace rek::test
