#include "gif_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace rek::test {

namespace {

struct CommandResult {
    int status = -1;
    std::string output;
};

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), n);
    result.status = ::pclose(pipe);
    return result;
}

std::string quoted(const std::filesystem::path& file) {
    return "'" + file.string() + "'";
}

bool installed(const std::string& program) {
    return runCommand("command -v " + program + " >/dev/null 2>&1").status == 0;
}

}  // namespace

DecodedGif decodeGif(const std::filesystem::path& file) {
    int error = 0;
    DecodedGif gif(DGifOpenFileName(file.c_str(), &error));
    if (!gif || DGifSlurp(gif.get()) != GIF_OK)
        return nullptr;
    return gif;
}

GraphicsControlBlock gifControl(GifFileType* gif, int frame) {
    GraphicsControlBlock gcb{};
    EXPECT_EQ(DGifSavedExtensionToGCB(gif, frame, &gcb), GIF_OK);
    return gcb;
}

bool gifLoopsForever(GifFileType* gif) {
    const SavedImage& first = gif->SavedImages[0];
    for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& app = first.ExtensionBlocks[i];
        const ExtensionBlock& data = first.ExtensionBlocks[i + 1];
        if (app.Function == APPLICATION_EXT_FUNC_CODE && app.ByteCount == 11 &&
            std::memcmp(app.Bytes, "NETSCAPE2.0", 11) == 0)
            return data.ByteCount == 3 && data.Bytes[0] == 1 && data.Bytes[1] == 0 &&
                   data.Bytes[2] == 0;
    }
    return false;
}

std::optional<ComposedGif> composeGif(const std::filesystem::path& file) {
    const DecodedGif gif = decodeGif(file);
    if (!gif)
        return std::nullopt;
    ComposedGif composed;
    composed.width = gif->SWidth;
    composed.height = gif->SHeight;
    const auto width = static_cast<std::size_t>(composed.width);
    RgbaPixels screen(width * static_cast<std::size_t>(composed.height), 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& desc = image.ImageDesc;
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif.get(), i, &control);
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr || desc.Left < 0 || desc.Top < 0 ||
            desc.Left + desc.Width > composed.width || desc.Top + desc.Height > composed.height)
            return std::nullopt;

        composed.images.push_back({desc.Left, desc.Top, desc.Width, desc.Height,
                                   control.DisposalMode, control.TransparentColor,
                                   control.DelayTime, desc.ColorMap != nullptr});

        const RgbaPixels before = screen;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor)
                    continue;
                if (index >= map->ColorCount)
                    return std::nullopt;
                const GifColorType c = map->Colors[index];
                screen[static_cast<std::size_t>(desc.Top + y) * width +
                       static_cast<std::size_t>(desc.Left + x)] =
                    opaque(ColorRgb{c.Red, c.Green, c.Blue});
            }
        }
        composed.frames.push_back(screen);
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            // Browsers and giflib's own tools clear to transparent, not to the background
            // colour the screen descriptor names.
            for (int y = 0; y < desc.Height; ++y)
                for (int x = 0; x < desc.Width; ++x)
                    screen[static_cast<std::size_t>(desc.Top + y) * width +
                           static_cast<std::size_t>(desc.Left + x)] = 0;
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            screen = before;
        }
    }
    return composed;
}

void expectReadersAgree(const std::filesystem::path& file, const ComposedGif& gif) {
    if (installed("gifsicle")) {
        // Only what it says on standard error, where its warnings go.
        const CommandResult said =
            runCommand("gifsicle --info " + quoted(file) + " 2>&1 >/dev/null");
        EXPECT_TRUE(said.status == 0 && said.output.empty()) << said.output;
    }
    if (!installed("convert"))
        return;
    const CommandResult result =
        runCommand("convert " + quoted(file) + " -coalesce -depth 8 rgba:- 2>/dev/null");
    const std::size_t frameBytes = static_cast<std::size_t>(gif.width) * gif.height * 4;
    ASSERT_EQ(result.output.size(), frameBytes * gif.frames.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(result.output.data());
    for (std::size_t f = 0; f < gif.frames.size(); ++f) {
        RgbaPixels frame(frameBytes / 4);
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const std::uint8_t* p = bytes + f * frameBytes + i * 4;
            // A transparent pixel is only its alpha, whatever colour ImageMagick leaves there.
            frame[i] = p[3] == 0 ? 0u
                                 : (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) |
                                       (std::uint32_t{p[1]} << 8) | p[2];
        }
        EXPECT_TRUE(frame == gif.frames[f]) << "ImageMagick's frame " << f;
    }
}

StrictLzwResult readLzwStrictly(std::span<const std::uint8_t> data, int minCodeSize,
                                std::size_t pixels) {
    StrictLzwResult result;
    auto fail = [&](const char* problem) {
        result.problem = problem;
        return result;
    };
    const unsigned clearCode = 1u << minCodeSize;
    std::array<std::uint16_t, 4096> prefix{};
    std::array<std::uint8_t, 4096> suffix{};
    std::array<std::uint8_t, 4096> first{};
    for (unsigned i = 0; i < clearCode; ++i)
        suffix[i] = first[i] = static_cast<std::uint8_t>(i);
    std::size_t bit = 0;
    int width = minCodeSize + 1;
    unsigned available = 0;  // 0 until the first clear code
    int previous = -1;
    std::size_t onFullTable = 0;
    while (true) {
        if (bit + static_cast<std::size_t>(width) > data.size() * 8)
            return fail("the data ends before the end code");
        unsigned code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
        if (code == clearCode) {
            width = minCodeSize + 1;
            available = clearCode + 2;
            previous = -1;
            onFullTable = 0;
            continue;
        }
        if (available == 0)
            return fail("the data does not start with a clear code");
        if (code == clearCode + 1)
            break;
        if (previous < 0 ? code > clearCode : code > available || code == 4096)
            return fail("a code beyond the table");
        if (previous >= 0 && available < 4096) {
            prefix[available] = static_cast<std::uint16_t>(previous);
            first[available] = first[previous];
            suffix[available] = code == available ? first[previous] : first[code];
            if (++available == (1u << width) && width < 12)
                ++width;
        } else if (previous >= 0) {
            result.longestRunOnFullTable = std::max(result.longestRunOnFullTable, ++onFullTable);
        }
        const std::size_t start = result.indices.size();
        unsigned c = code;
        for (; c >= clearCode; c = prefix[c])
            result.indices.push_back(suffix[c]);
        result.indices.push_back(static_cast<std::uint8_t>(c));
        std::reverse(result.indices.begin() + static_cast<std::ptrdiff_t>(start),
                     result.indices.end());
        previous = static_cast<int>(code);
        if (result.indices.size() > pixels)
            return fail("more pixels than the image has");
    }
    if (result.indices.size() != pixels)
        return fail("fewer pixels than the image has");
    // Indices below the clear code by construction; after the end code only the zero bits that
    // fill its byte.
    if ((bit + 7) / 8 != data.size() || (bit % 8 != 0 && (data.back() >> (bit % 8)) != 0))
        return fail("more after the end code");
    result.ok = true;
    return result;
}

}  // namespace rek::test
