#pragma once

#include <QImage>
#include <QPointF>
#include <array>
#include <cstdint>
#include <vector>

#include "render/band_workers.h"
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
};

// Draws one frame: background, shadow pass and line pass, which draw the same lines, the
// shadow moved down and right by half the pen width.
//
// The lines are scan-converted once, into a coverage mask of one byte per pixel, and the
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
        int top;
        int bottom;
    };
    class BandDrawer;

    int bandCount(int threads) const;
    // Builds every step table entry the lines need (the bands only read the table) and sorts
    // the lines into the bands.
    void sortIntoBands(StepSpans& table, int bands);
    Band band(int index, int bands) const;

    const int width_;
    const int height_;
    const BandSplit split_;
    // The line coverage: a byte per pixel, from offset_ pixels above and left of the surface so
    // that the shadow of lines just outside it is there too.
    std::vector<std::uint8_t> mask_;
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
    std::vector<std::uint8_t> bandOfRow_;
};

}  // namespace rek
