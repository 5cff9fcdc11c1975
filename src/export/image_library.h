#pragma once

// The image library the exports write through: image objects made from 32-bit captures,
// smoothing resize, colour reduction to an 8-bit palette, BMP and animated GIF writing.
// Plain C++ over giflib and libimagequant. No operation throws; failures are reported by
// a null pointer or a false result, and a failed write leaves no file behind.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/color_rgb.h"

namespace rek {

// Upper bounds on an image. A side of at most 16384 pixels and at most 64 Mi pixels keep
// every byte count (capture, BMP file, work buffers) far inside 32 bits.
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

// True when an image of that size can be made (both sides positive and within the bounds).
bool imageSizeAllowed(int width, int height);

// The 40-byte bitmap information header of a capture: 32 bits per pixel, uncompressed,
// positive height (rows stored bottom-up), each pixel blue, green, red, reserved.
struct CaptureHeader {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 32;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t colorsImportant = 0;

    static CaptureHeader forSize(int width, int height);
    // Bytes of the pixel buffer this header describes (width * 4 per row, no padding).
    std::size_t pixelBytes() const;
};

// An image object. It holds its own pixels: true colour after fromDib and resize, an 8-bit
// palette with one index per pixel after reduceColors. Copyable; the destructor releases it.
class Image {
  public:
    // A copy of the capture, or nullptr when the header is not a 32-bit uncompressed
    // bottom-up capture of an allowed size, the buffer is missing, or memory runs out.
    static std::unique_ptr<Image> fromDib(const CaptureHeader& header, const std::uint8_t* pixels);
    // As above, also refusing a buffer shorter than the header's pixelBytes().
    static std::unique_ptr<Image> fromDib(const CaptureHeader& header,
                                          std::span<const std::uint8_t> pixels);

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
bool saveBmp(const Image& image, const std::string& path);

// GIF disposal methods, numbered as in the Graphic Control Extension.
enum class GifDisposal : std::uint8_t {
    Unspecified = 0,
    Keep = 1,
    RestoreBackground = 2,
    RestorePrevious = 3,
};

// One frame of an animated GIF.
struct GifFrame {
    bool transparent = false;
    std::uint32_t transparentColor = 0;  // 0x00BBGGRR: red in the lowest byte
    std::uint16_t delayCentiseconds = 0;
    GifDisposal disposal = GifDisposal::RestoreBackground;
    const Image* image = nullptr;
};

// The export's per-frame animation information, field by field.
inline constexpr std::uint32_t kGifFrameFlagsOpaque = 0x1000;
inline constexpr std::uint32_t kGifFrameFlagsTransparent = 0x1008;
inline constexpr std::uint32_t kGifFrameFlagTransparentBit = 0x0008;

struct GifFrameRecord {
    std::uint32_t flags = kGifFrameFlagsOpaque;
    std::uint32_t transparentColor = 0;  // 0x00BBGGRR, read only with the transparent bit
    std::uint16_t disposal = 2;          // the export always passes 2
    std::uint16_t delayCentiseconds = 0;
    const Image* image = nullptr;
};

// The frame a record describes: transparent when the flags carry bit 0x0008 (0x1008), with
// the record's colour; the disposal value is the GIF disposal method, where 2 restores the
// frame's area to the background before the next frame so that transparent frames do not
// pile up, and a value outside 0..3 is taken as 2.
GifFrame gifFrameFromRecord(const GifFrameRecord& record);

// Writes an animated GIF89a that loops forever: one image per frame with its delay and its
// disposal method in a Graphic Control Extension, the frame's transparent colour marked
// when its palette holds that exact colour, and the smallest colour table (a power of two,
// at least 2) that holds the palette; the first frame's palette is the global table and
// later frames carry a local one only when theirs differs. True-colour images are reduced
// on a copy. Zero frames, a frame without image, or any write failure give false, and as
// with saveBmp a failure leaves nothing at the path.
bool writeAnimatedGif(const std::string& path, std::span<const GifFrame> frames);

// The About box's line naming the components that write the images, with their versions
// as the libraries report them, e.g.
// "giflib Ver.5.2.1 & libimagequant Ver.2.16.0".
std::string imageLibraryVersionLine();
// The authors of the libraries that write the images, for the About box's credits.
std::string imageLibraryAuthors();

}  // namespace rek
