#pragma once

// An animated PNG written frame by frame. libpng compresses each frame; the animation chunks
// around them (acTL, fcTL, fdAT, with their sequence numbers and CRCs) are put together here.

#include <cstdint>
#include <string>
#include <vector>

#include "export/png_encoder.h"
#include "export/rgba_frame.h"
#include "model/atomic_file.h"

namespace rek {

class ApngWriter {
  public:
    // `frameCount` frames of width x height, each shown for delayCentiseconds, looping forever;
    // with alpha (RGBA) or without (RGB), or with `palette` (0xAARRGGBB colours, at most 256)
    // when every pixel of every frame is known to be one of its colours.
    ApngWriter(std::string path, int width, int height, std::uint32_t frameCount,
               std::uint16_t delayCentiseconds, bool alpha,
               std::vector<std::uint32_t> palette = {});

    // Creates the file (under a temporary name until finish()); false when it cannot be.
    bool open();
    // Appends the next frame, of the size given above: the first whole, the others as the
    // rectangle that changed since the frame before (drawn over it, replacing its pixels).
    bool addFrame(const RgbaFrame& frame);
    // Ends the file and puts it in place; false when fewer frames than announced were added or
    // anything failed. Without it (or on failure) nothing is left at the path.
    bool finish();

  private:
    bool writeChunk(const char type[4], const std::vector<std::uint8_t>& data);
    bool writeFrameControl(int x, int y, int width, int height);

    AtomicFile file_;
    int width_;
    int height_;
    std::uint32_t frameCount_;
    std::uint16_t delay_;
    PngPixels layout_;
    std::vector<std::uint32_t> palette_;
    std::uint32_t framesAdded_ = 0;
    std::uint32_t sequence_ = 0;
    bool failed_ = false;
    RgbaFrame previous_;
};

// The chunks of a PNG stream after its signature, as written: type and data.
struct PngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
};
// Splits a PNG file into its chunks; nothing when the signature, a length or a CRC is wrong.
std::optional<std::vector<PngChunk>> pngChunks(const std::vector<std::uint8_t>& file);

}  // namespace rek
