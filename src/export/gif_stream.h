#pragma once

// The GIF89a container, written block by block into an AtomicFile: the header, the logical
// screen with its global colour table and the loop extension, then one image after another
// (graphic control extension, descriptor, local colour table, LZW data in sub-blocks), then
// the trailer. The LZW data comes compressed already (gif_lzw.h).

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "export/image_library.h"
#include "model/color_rgb.h"

namespace rek {
class AtomicFile;
}

namespace rek::detail {

// The smallest LZW minimum code size for data whose indices are at most `highestIndex`: the
// bits of the index, at least 2. It need not match the colour table's size.
int lzwCodeSizeFor(std::uint8_t highestIndex);

// One image of the stream: its place on the screen and its part of the animation.
struct GifImage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::uint16_t delayCentiseconds = 0;
    GifDisposal disposal = GifDisposal::Keep;
    int transparentIndex = -1;  // -1: none
    // The image's own colour table (padded to a power of two); empty: the global one.
    std::span<const ColorRgb> localPalette;
    int lzwCodeSize = 2;  // 2..8, as the data was compressed with
    std::span<const std::uint8_t> lzwData;
};

class GifStream {
  public:
    explicit GifStream(std::string path);
    // Without finish(), nothing is left at the path: not the file, not its temporary.
    ~GifStream();
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // Creates the temporary file and writes everything before the first image: a screen of
    // width x height (1..65535 each) and the palette (1..256 colours, padded to a power of
    // two) as the global colour table. With `loop`, the animation repeats forever. May throw
    // std::bad_alloc.
    bool open(int width, int height, std::span<const ColorRgb> globalPalette, bool loop = true);
    // False for an image that does not fit the screen or a table of more than 256 colours.
    // May throw std::bad_alloc.
    bool putImage(const GifImage& image);
    // The trailer, then the file is put in place. False on any failure of the whole write.
    bool finish();

  private:
    void putByte(std::uint8_t value) { pending_.push_back(value); }
    void putWord(int value);
    void putColourTable(std::span<const ColorRgb> palette);
    bool flush();

    std::string path_;
    std::unique_ptr<AtomicFile> file_;
    std::vector<std::uint8_t> pending_;
    int width_ = 0;
    int height_ = 0;
    bool failed_ = false;
};

}  // namespace rek::detail
