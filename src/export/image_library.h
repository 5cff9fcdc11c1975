#pragma once

// The image library the exports write through: image objects made from rendered pixels,
// smoothing resize, colour reduction to an 8-bit palette, BMP and animated GIF writing.
// Plain C++ over libimagequant; the GIF coder is the library's own. No operation throws;
// failures are reported by a null pointer or a false result, and a failed write leaves no
// file behind.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/atomic_file.h"
#include "model/color_rgb.h"

namespace rek {

// Upper bounds on an image. A side of at most 16384 pixels and at most 64 Mi pixels keep
// every byte count (pixel buffers, BMP file, work buffers) far inside 32 bits.
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

// True when an image of that size can be made (both sides positive and within the bounds).
bool imageSizeAllowed(int width, int height);

// An image object. It holds its own pixels: true colour when made and after resize, an 8-bit
// palette with one index per pixel after reduceColors. Copyable; the destructor releases it.
//
// True-colour pixels are 0x00RRGGBB words, top row first, as a 32-bit RGB surface holds them;
// whatever the top byte of a given pixel holds is dropped.
class Image {
  public:
    // Takes over `pixels` (width * height of them). Nullptr for a size that is not allowed, a
    // buffer of another length, or when memory runs out.
    static std::unique_ptr<Image> fromRgb(int width, int height, std::vector<std::uint32_t> pixels);
    // A copy of a width x height region whose rows start `stride` pixels apart. Nullptr for a
    // size that is not allowed, a missing buffer, a stride shorter than a row, or when memory
    // runs out.
    static std::unique_ptr<Image> copyRgb(int width, int height, const std::uint32_t* pixels,
                                          std::size_t stride);

    int width() const { return width_; }
    int height() const { return height_; }
    bool isReduced() const { return reduced_; }

    // Colour of a pixel, (0, 0) being the top-left corner; either form.
    ColorRgb pixel(int x, int y) const;

    // The reduced form: 1..256 palette entries and width * height indices, top row first.
    // Both are empty while the image is true colour.
    std::span<const ColorRgb> palette() const { return palette_; }
    std::span<const std::uint8_t> indices() const { return indices_; }

  private:
    Image() = default;

    int width_ = 0;
    int height_ = 0;
    bool reduced_ = false;
    std::vector<std::uint32_t> rgb_;  // 0x00RRGGBB per pixel, top row first (true colour)
    std::vector<ColorRgb> palette_;
    std::vector<std::uint8_t> indices_;

    friend bool resize(Image& image, int width, int height);
    friend bool reduceColors(Image& image);
};

// Resamples the image in place to the new size with smoothing, each axis on its own:
// area averaging where it shrinks, bilinear where it grows (an unchanged axis is copied).
// A reduced image becomes true colour again. False, with the image unchanged, for a size
// that is not allowed or when memory runs out.
bool resize(Image& image, int width, int height);

// Brings the image in place into its 8-bit palette form. Up to 256 distinct colours give an
// exact palette (in order of first appearance, top-left first); more are quantised with
// libimagequant to at most 256 colours without dithering, keeping the most frequent colour
// (the background) exact. True when the image is reduced afterwards (also when it already was).
bool reduceColors(Image& image);

// Writes an 8-bit palettised BMP (file header, 40-byte information header, the palette,
// bottom-up rows padded to 4 bytes). A true-colour image is reduced on a copy first. The
// file is written under a temporary name and renamed into place; false on any failure,
// in which case nothing is left at the path and an existing file there is untouched.
bool saveBmp(const Image& image, const std::string& path, Flush flush = Flush::OnCommit);

// GIF disposal methods, numbered as in the Graphic Control Extension.
enum class GifDisposal : std::uint8_t {
    Unspecified = 0,
    Keep = 1,
    RestoreBackground = 2,
    RestorePrevious = 3,
};

// What an animated GIF's writer is told about the colours before the first frame.
struct GifColours {
    // A picture of the frames' size with the colours the frames will mostly have:
    // 0x??RRGGBB pixels, top row first.
    std::span<const std::uint32_t> sample;
    // Colours that may turn up beyond the sample's, most likely first; they join the palette
    // while it has room.
    std::span<const ColorRgb> likely;
    // Exact (false): a colour met later is added while the palette has room, and the frames
    // that use it carry a local table. Smoothed (true), for anti-aliased frames whose edges
    // blend the colours into more shades than are worth keeping apart: a colour met later is
    // shown as the nearest one.
    bool smoothed = false;
    // Pixels of this colour are transparent.
    std::optional<ColorRgb> transparent;
};

// An animated GIF89a written frame by frame as the frames come, so that no frame has to be
// kept, and made small:
// - one palette for the whole animation, decided before the first frame from the sample's
//   colours (most frequent first; more than 256 are quantised once with libimagequant) and
//   the likely ones, which is the global colour table;
// - after the first frame, which fills the screen, each frame is only the rectangle that
//   changed, left in place for the next ("do not dispose"), its unchanged pixels transparent
//   where that compresses better; with a transparent colour, each frame is the rectangle of
//   its opaque pixels instead, cleared to transparent before the next ("restore background"),
//   so that lines can move off places that showed them;
// - LZW data with the smallest code size the frame allows, keeping a full code table while
//   it pays (gif_lzw.h).
// Frames decode exactly as given, but for colours beyond the palette. It loops forever.
// Frames are width * height 0x??RRGGBB pixels, top row first; the top byte is ignored.
// Without finish(), and whenever anything fails, nothing is left at the path: not the file
// and not its temporary; an existing file there stays as it was.
class GifAnimationWriter {
  public:
    GifAnimationWriter();
    ~GifAnimationWriter();
    GifAnimationWriter(const GifAnimationWriter&) = delete;
    GifAnimationWriter& operator=(const GifAnimationWriter&) = delete;

    // Starts the file at `path` for frames of width x height. False for a size that is not
    // allowed or a sample of another size, when the file cannot be created, or when memory
    // runs out.
    bool begin(const std::string& path, int width, int height, const GifColours& colours);
    // Encodes and writes one frame, shown for `delayCentiseconds`.
    bool addFrame(std::span<const std::uint32_t> pixels, std::uint16_t delayCentiseconds);
    // Writes the trailer and puts the file in place. False when there was no frame, or on any
    // failure of the whole write.
    bool finish();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The About box's line naming the components that write the images, with their versions
// as the libraries report them, e.g.
// "giflib Ver.5.2.1 & libimagequant Ver.2.16.0".
std::string imageLibraryVersionLine();
// The authors of the libraries that write the images, for the About box's credits.
std::string imageLibraryAuthors();

}  // namespace rek
