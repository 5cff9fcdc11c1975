#include <algorithm>
#include <new>
#include <optional>
#include <vector>

#include "export/gif_frame_diff.h"
#include "export/gif_lzw.h"
#include "export/gif_palette.h"
#include "export/gif_stream.h"
#include "export/image_library.h"

namespace rek {

namespace {

constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

std::uint32_t pack(ColorRgb c) {
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

}  // namespace

struct GifAnimationWriter::State {
    State(const std::string& path, detail::GifPalette palette)
        : stream(path), palette(std::move(palette)) {}

    // The frame's palette indices into `frame`. Runs of one colour are the rule, so only a
    // change of colour is looked up.
    void mapFrame(std::span<const std::uint32_t> pixels) {
        frame.resize(pixels.size());
        std::uint32_t last = pixels[0] & kRgbMask;
        std::uint8_t lastIndex = palette.indexOf(last);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const std::uint32_t colour = pixels[i] & kRgbMask;
            if (colour != last) {
                last = colour;
                lastIndex = palette.indexOf(colour);
            }
            frame[i] = lastIndex;
        }
    }

    bool add(std::span<const std::uint32_t> pixels, std::uint16_t delay) {
        if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
            return false;
        mapFrame(pixels);

        detail::GifImage out;
        out.delayCentiseconds = delay;
        detail::PixelRect rect{0, 0, width, height};
        if (transparentIndex) {
            // The previous frame is cleared away, so this one is whatever it shows.
            out.disposal = GifDisposal::RestoreBackground;
            out.transparentIndex = *transparentIndex;
            if (framesWritten > 0)
                rect = detail::rectOfOthers(frame, width, height, *transparentIndex);
        } else {
            out.disposal = GifDisposal::Keep;
            if (framesWritten > 0)
                rect = detail::changedRect(canvas, frame, width, height);
        }
        // An image cannot be empty: a frame without change is one unchanged pixel.
        if (rect.empty())
            rect = {0, 0, 1, 1};
        out.left = rect.left;
        out.top = rect.top;
        out.width = rect.width;
        out.height = rect.height;
        detail::cropInto(frame, width, rect, crop);

        // The global table holds the palette as it was at the start; a frame that uses colours
        // added since carries the whole palette as it is now.
        const std::uint8_t highest = *std::max_element(crop.begin(), crop.end());
        if (highest >= globalColours)
            out.localPalette = palette.colours();
        out.lzwCodeSize = detail::lzwCodeSizeFor(highest);
        std::span<const std::uint8_t> data = crop;

        // The pixels that stay as they were left out (transparent) where that makes fewer runs
        // of one index: a little change in a large rectangle, rather than lines that wobble
        // all over it.
        if (keepIndex && framesWritten > 0 &&
            detail::cropUnchangedAs(canvas, frame, width, rect, *keepIndex, cropKept) &&
            detail::runCount(cropKept) < detail::runCount(crop)) {
            data = cropKept;
            out.lzwCodeSize = detail::lzwCodeSizeFor(std::max(highest, *keepIndex));
            out.transparentIndex = *keepIndex;
        }
        codes.clear();
        lzw.encodeShortest(data, out.lzwCodeSize, codes);
        out.lzwData = codes;
        if (!stream.putImage(out))
            return false;
        if (!transparentIndex)
            canvas.swap(frame);
        ++framesWritten;
        return true;
    }

    detail::GifStream stream;
    detail::GifPalette palette;
    detail::LzwEncoder lzw;
    int width = 0;
    int height = 0;
    std::size_t globalColours = 0;
    std::optional<std::uint8_t> transparentIndex;  // the transparent colour's
    std::optional<std::uint8_t> keepIndex;         // transparent: the pixel stays as it was
    std::uint64_t framesWritten = 0;
    std::vector<std::uint8_t> canvas;    // what a decoder shows after the last frame
    std::vector<std::uint8_t> frame;     // the frame being written
    std::vector<std::uint8_t> crop;      // its rectangle
    std::vector<std::uint8_t> cropKept;  // the rectangle with unchanged pixels left out
    std::vector<std::uint8_t> codes;
};

GifAnimationWriter::GifAnimationWriter() = default;

GifAnimationWriter::~GifAnimationWriter() = default;

bool GifAnimationWriter::begin(const std::string& path, int width, int height,
                               const GifColours& colours) {
    if (state_ || !imageSizeAllowed(width, height) ||
        colours.sample.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    try {
        std::optional<detail::GifPalette> palette =
            detail::GifPalette::fromSample(colours.sample, width, height, colours.transparent);
        if (!palette)
            return false;
        auto state = std::make_unique<State>(path, std::move(*palette));
        detail::GifPalette& entries = state->palette;
        if (colours.transparent)
            state->transparentIndex = entries.indexOf(pack(*colours.transparent));
        else
            state->keepIndex = entries.reserveEntry();
        entries.addColours(colours.likely, detail::GifPalette::kMaxColours);
        if (colours.smoothed)
            entries.closeToNewColours();
        state->width = width;
        state->height = height;
        state->globalColours = entries.size();
        if (!state->stream.open(width, height, entries.colours()))
            return false;
        state_ = std::move(state);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool GifAnimationWriter::addFrame(std::span<const std::uint32_t> pixels,
                                  std::uint16_t delayCentiseconds) {
    if (!state_)
        return false;
    try {
        if (state_->add(pixels, delayCentiseconds))
            return true;
    } catch (const std::bad_alloc&) {
    }
    // A frame that could not be written spoils the file: nothing more goes into it.
    state_.reset();
    return false;
}

bool GifAnimationWriter::finish() {
    if (!state_ || state_->framesWritten == 0) {
        state_.reset();
        return false;
    }
    const bool ok = state_->stream.finish();
    state_.reset();
    return ok;
}

}  // namespace rek
