#pragma once

#include <QImage>
#include <QPointF>
#include <array>
#include <cstdint>
#include <vector>

#include "render/band_workers.h"
#include "render/capsule.h"
#include "render/step_spans.h"

namespace rek {

// The colours and the extent of one frame.
struct FrameLook {
    // The canvas region of the surface, which gets the background; the rest keeps its pixels.
    int canvasWidth = 0;
    int canvasHeight = 0;
    QRgb background = 0;
    QRgb shadow = 0;
    QRgb line = 0;
    bool shadowOn = false;
};

// How a frame is split between threads.
struct BandSplit {
    int bandsPerThread = 4;
    // Frames with less work than this, in rows of lines, are drawn by the calling thread alone.
    std::int64_t minimumRows = 20000;
    // Whether larger frames may also be drawn by the calling thread alone when that has
    // lately been faster (see ThreadingChoice); otherwise they are always drawn in bands.
    bool adaptive = true;
};

// Chooses between drawing a frame on the calling thread alone and in bands on all threads, by
// how long each took lately for a row of lines. On a busy machine the other threads may not
// get a core when the frame wants them, and a band that waits for its thread holds the frame
// up; then the calling thread is better off alone. Every kRetryAfter frames the other way is
// tried again, so a change either way is noticed.
class ThreadingChoice {
  public:
    static constexpr int kRetryAfter = 24;

    bool bandsNext() const;
    // How long the frame just drawn took, per row of lines, and how it was drawn.
    void record(bool bands, double secondsPerRow);

  private:
    double cost_[2] = {0.0, 0.0};  // a moving average for alone and bands; 0 when unknown
    int framesSinceOther_ = 0;
};

// Draws one frame: background, shadow pass and line pass, which draw the same lines, the
// shadow moved down and right by half the pen width.
//
// The lines are scan-converted once, into a coverage mask of one bit per pixel, and the
// mask is composited onto the surface twice in one sweep: moved by the shadow's offset in the
// shadow colour, and in place in the line colour over it. A line's pixels only move along
// with it when it moves by whole pixels as long as none of its span ends sits on the rounding
// (see capsule::shiftable); the rows where one does, and lines that are clipped or do not
// start on whole pixels, are scan-converted for each pass apart into a second mask. So every
// pixel comes out as drawing the two passes one after the other would paint it.
//
// Large frames are cut into horizontal bands, drawn by the workers' threads: the lines are
// sorted into the bands they touch once per frame, each band scan-converts its own rows, and
// after all have, each composites its own rows. All memory is kept from frame to frame.
class FrameRaster {
  public:
    FrameRaster(int width, int height, BandSplit split);

    // Starts a frame with a pen of `diameter`; `shadowOffset` is the shadow's offset along
    // both axes when it is on.
    void begin(int diameter, int shadowOffset, bool shadowOn);
    // A line of the line pass; the shadow pass draws it moved by the offset.
    void add(QPointF from, QPointF to);
    // The same for ends on whole pixels, the usual case, without a call.
    void add(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        const auto low = static_cast<std::int64_t>(capsule::kClipMin);
        const auto span = static_cast<std::uint64_t>(capsule::kClipMax) - offset_ - low;
        auto inside = [low, span](std::int64_t value) {
            return static_cast<std::uint64_t>(value - low) <= span;
        };
        if (inside(x0) && inside(y0) && inside(x1) && inside(y1)) {
            whole_.push_back({static_cast<std::int32_t>(x0), static_cast<std::int32_t>(y0),
                              static_cast<std::int32_t>(x1), static_cast<std::int32_t>(y1)});
            rows_ += (y1 > y0 ? y1 - y0 : y0 - y1) + diameter_;
            return;
        }
        add(QPointF(static_cast<double>(x0), static_cast<double>(y0)),
            QPointF(static_cast<double>(x1), static_cast<double>(y1)));
    }
    void draw(QImage& surface, const FrameLook& look, SpanTables& tables, BandWorkers& workers);

  private:
    static constexpr int kMaxBands = 32;

    // A line with both ends on whole pixels, inside the clip box in both passes.
    struct WholeLine {
        std::int32_t x0;
        std::int32_t y0;
        std::int32_t x1;
        std::int32_t y1;
    };
    struct LooseLine {
        QPointF from;
        QPointF to;
    };
    // Rows top..bottom-1 of the surface (of the mask above it for the first band).
    struct Band {
        int index;
        int top;
        int bottom;
    };
    struct WantedStep {
        std::int8_t dx;
        std::int8_t dy;
    };
    static constexpr std::size_t kWantedPerBand = 256;
    class BandDrawer;

    int bandCount(int threads) const;
    // Sorts the lines into the bands they touch.
    void sortIntoBands(int bands);
    Band band(int index, int bands) const;

    const int width_;
    const int height_;
    const BandSplit split_;
    // The line coverage: a bit per pixel, from offset_ pixels above and left of the surface so
    // that the shadow of lines just outside it is there too; rows of maskStride_ words.
    std::vector<std::uint64_t> mask_;
    int maskStride_;
    // Rows of the passes drawn apart: bit kExactLine for the line pass, kExactShadow for the
    // shadow pass, surface-sized; exactRows_ marks the rows with anything in them.
    std::vector<std::uint8_t> exact_;
    std::vector<std::uint8_t> exactRows_;

    int diameter_ = 1;
    int offset_ = 0;
    bool shadowOn_ = false;
    std::vector<WholeLine> whole_;
    std::vector<LooseLine> loose_;
    std::int64_t rows_ = 0;  // the work of the frame, in rows of lines
    // The lines of each band, by index into whole_, and the band of each mask row.
    std::array<std::vector<std::uint32_t>, kMaxBands> bins_;
    // The steps each band met that the table did not have yet.
    std::array<std::vector<WantedStep>, kMaxBands> wanted_;
    ThreadingChoice choice_;
    std::vector<std::uint8_t> bandOfRow_;
};

}  // namespace rek
