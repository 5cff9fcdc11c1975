#include "format_decoders.h"

#include <png.h>
#include <webp/demux.h>
#include <zlib.h>

#include <algorithm>
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
    std::optional<std::uint32_t> announced;
    std::uint32_t nextSequence = 0;
    const std::uint8_t* control = nullptr;  // the pending frame's fcTL data
    std::vector<std::uint8_t> pendingData;
    RgbaFrame canvas;

    auto finishFrame = [&]() -> bool {
        if (control == nullptr)
            return true;
        const std::uint32_t w = get32(control + 4), h = get32(control + 8);
        const std::uint32_t left = get32(control + 12), top = get32(control + 16);
        // A PNG of the frame's rectangle: the file's header with the frame's size.
        std::vector<std::uint8_t> png(kSignature, kSignature + 8);
        std::vector<std::uint8_t> ihdr(control + 4, control + 12);
        ihdr.insert(ihdr.end(), header.begin() + 8, header.end());
        putChunk(png, "IHDR", ihdr.data(), ihdr.size());
        png.insert(png.end(), palette.begin(), palette.end());
        putChunk(png, "IDAT", pendingData.data(), pendingData.size());
        putChunk(png, "IEND", nullptr, 0);
        const std::optional<RgbaFrame> part = decodePng(png);
        if (!part || left + w > std::uint32_t(canvas.width) ||
            top + h > std::uint32_t(canvas.height))
            return false;
        const RgbaFrame before = canvas;
        const std::uint8_t dispose = control[24], blend = control[25];
        for (std::uint32_t y = 0; y < h; ++y) {
            for (std::uint32_t x = 0; x < w; ++x) {
                const std::uint32_t source = part->at(int(x), int(y));
                std::uint32_t& target = canvas.pixels[(top + y) * canvas.width + left + x];
                // Blend "over" is only exact for opaque or empty pixels, all the exports write.
                if (blend == 0 || (source >> 24) == 0xFF)
                    target = source;
                else if ((source >> 24) != 0)
                    return false;
            }
        }
        animation.frames.push_back(canvas);
        animation.storedAreas.push_back(std::uint64_t{w} * h);
        const int den =
            (control[22] << 8 | control[23]) == 0 ? 100 : control[22] << 8 | control[23];
        animation.delaysMs.push_back((control[20] << 8 | control[21]) * 1000 / den);
        for (std::uint32_t y = 0; dispose == 1 && y < h; ++y)
            std::fill_n(&canvas.pixels[(top + y) * canvas.width + left], w, 0u);
        if (dispose == 2)
            canvas = before;
        control = nullptr;
        pendingData.clear();
        return true;
    };

    bool sawIend = false;
    for (std::size_t at = 8; at + 12 <= bytes.size() && !sawIend;) {
        const std::uint32_t length = get32(&bytes[at]);
        if (length > bytes.size() - at - 12)
            return std::nullopt;
        const std::string type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        const std::uint8_t* data = &bytes[at + 8];
        if (get32(data + length) != std::uint32_t(crc32(0, &bytes[at + 4], 4 + length)))
            return std::nullopt;
        if (type == "IHDR") {
            header.assign(data, data + length);
            animation.width = canvas.width = static_cast<int>(get32(data));
            animation.height = canvas.height = static_cast<int>(get32(data + 4));
            canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0);
        } else if (type == "PLTE" || type == "tRNS") {
            palette.insert(palette.end(), &bytes[at], &bytes[at] + 12 + length);
        } else if (type == "acTL") {
            if (length != 8 || !animation.frames.empty() || control != nullptr)
                return std::nullopt;
            announced = get32(data);
            animation.loopCount = get32(data + 4);
        } else if (type == "fcTL") {
            if (length != 26 || get32(data) != nextSequence++ || !finishFrame())
                return std::nullopt;
            control = data;
        } else if (type == "IDAT") {
            if (control == nullptr || !animation.frames.empty())
                return std::nullopt;
            pendingData.insert(pendingData.end(), data, data + length);
        } else if (type == "fdAT") {
            if (control == nullptr || length < 4 || get32(data) != nextSequence++)
                return std::nullopt;
            pendingData.insert(pendingData.end(), data + 4, data + length);
        }
        sawIend = type == "IEND";
        at += 12 + length;
    }
    if (!announced || !sawIend || !finishFrame() || animation.frames.size() != *announced)
        return std::nullopt;
    return animation;
}

}  // namespace rek::test
