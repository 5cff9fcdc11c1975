#include "render/frame_raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "model/model_properties.h"
#include "render/capsule.h"

namespace rek {

using namespace capsule;

namespace {

// The shadow's offset is half the pen width.
constexpr int kMaxOffset = kMaxLineWidth / 2;
constexpr std::uint8_t kExactLine = 1;
constexpr std::uint8_t kExactShadow = 2;

// Bytes first..last of a mask row set; nothing when last < first. Most spans are a few
// pixels long, so they are written with at most three stores and few branches.
inline void fillBytes(std::uint8_t* row, int first, int last) {
    const int count = last - first + 1;
    if (count <= 0)
        return;
    std::uint8_t* bytes = row + first;
    if (count < 4) {
        bytes[0] = 1;
        bytes[count / 2] = 1;
        bytes[count - 1] = 1;
        return;
    }
    if (count <= 8) {
        const std::uint32_t four = 0x01010101u;
        std::memcpy(bytes, &four, sizeof four);
        std::memcpy(bytes + count - 4, &four, sizeof four);
        return;
    }
    if (count <= 16) {
        const std::uint64_t eight = 0x0101010101010101u;
        std::memcpy(bytes, &eight, sizeof eight);
        std::memcpy(bytes + count - 8, &eight, sizeof eight);
        return;
    }
    std::memset(bytes, 1, static_cast<std::size_t>(count));
}

inline void orBits(std::uint8_t* row, Columns columns, std::uint8_t bit) {
    for (int x = columns.first; x <= columns.last; ++x)
        row[x] |= bit;
}

// All-ones when the byte is set.
inline std::uint32_t select(std::uint8_t covered) {
    return 0u - static_cast<std::uint32_t>(covered != 0);
}

// One surface row: the line where `line` is set, else the shadow where `shadow` is, else the
// background up to `backgroundEnd` and what was there beyond.
template <bool kShadow, bool kExact>
void compositeRow(QRgb* out, const std::uint8_t* line, const std::uint8_t* shadow,
                  const std::uint8_t* exact, int backgroundEnd, int width, const FrameLook& look) {
    auto pixel = [&](int x, QRgb under) {
        std::uint8_t lineCovered = line[x];
        std::uint8_t shadowCovered = 0;
        if constexpr (kShadow)
            shadowCovered = shadow[x];
        if constexpr (kExact) {
            lineCovered |= exact[x] & kExactLine;
            shadowCovered |= exact[x] & kExactShadow;
        }
        QRgb colour = under;
        if constexpr (kShadow) {
            const std::uint32_t inShadow = select(shadowCovered);
            colour = (look.shadow & inShadow) | (colour & ~inShadow);
        }
        const std::uint32_t inLine = select(lineCovered);
        return (look.line & inLine) | (colour & ~inLine);
    };
    for (int x = 0; x < backgroundEnd; ++x)
        out[x] = pixel(x, look.background);
    for (int x = backgroundEnd; x < width; ++x)
        out[x] = pixel(x, out[x]);
}

}  // namespace

// What the bands do, both steps for one band at a time.
class FrameRaster::BandDrawer {
  public:
    BandDrawer(FrameRaster& raster, QImage& surface, const FrameLook& look, StepSpans& table,
               int bands)
        : r_(raster),
          surface_(surface),
          look_(look),
          table_(table),
          bands_(bands),
          mask_(raster.mask_.data()),
          stride_(raster.maskStride_),
          offset_(raster.offset_),
          width_(raster.width_),
          height_(raster.height_) {}

    // Scan-converts the lines into the band's rows of the masks.
    void raster(int index) {
        const Band band = r_.band(index, bands_);
        std::memset(maskRow(band.top), 0,
                    static_cast<std::size_t>(band.bottom - band.top) * stride_);
        for (int y = std::max(band.top, 0); y < band.bottom; ++y) {
            if (r_.exactRows_[y]) {
                std::memset(exactRow(y), 0, static_cast<std::size_t>(width_));
                r_.exactRows_[y] = 0;
            }
        }
        if (bands_ == 1) {
            for (const WholeLine& line : r_.whole_)
                drawWhole(line, band, true);
        } else {
            for (std::uint32_t i : r_.bins_[index])
                drawWhole(r_.whole_[i], band, false);
        }
        for (const LooseLine& line : r_.loose_)
            drawLoose(line, band);
    }

    void composite(int index) {
        const Band band = r_.band(index, bands_);
        const FrameLook look = look_;
        for (int y = std::max(band.top, 0); y < band.bottom; ++y) {
            auto* out = reinterpret_cast<QRgb*>(surface_.scanLine(y));
            const std::uint8_t* line = maskRow(y) + offset_;
            const std::uint8_t* shadow = mask_ + static_cast<std::size_t>(y) * stride_;
            const std::uint8_t* exact = exactRow(y);
            const int backgroundEnd = y < look.canvasHeight ? look.canvasWidth : 0;
            const bool exactUsed = r_.exactRows_[y] != 0;
            if (look.shadowOn) {
                if (exactUsed) {
                    compositeRow<true, true>(out, line, shadow, exact, backgroundEnd, width_, look);
                } else {
                    compositeRow<true, false>(out, line, shadow, exact, backgroundEnd, width_,
                                              look);
                }
            } else if (exactUsed) {
                compositeRow<false, true>(out, line, shadow, exact, backgroundEnd, width_, look);
            } else {
                compositeRow<false, false>(out, line, shadow, exact, backgroundEnd, width_, look);
            }
        }
    }

  private:
    // Mask rows and columns start offset_ above and left of the surface.
    std::uint8_t* maskRow(int y) const {
        return mask_ + static_cast<std::size_t>(y + offset_) * stride_;
    }
    std::uint8_t* exactRow(int y) const {
        return r_.exact_.data() + static_cast<std::size_t>(y) * width_;
    }
    void markExact(int y) { r_.exactRows_[y] = 1; }

    void drawWhole(const WholeLine& line, const Band& band, bool mayBuild) {
        const int dx = line.x1 - line.x0;
        const int dy = line.y1 - line.y0;
        if (StepSpans::fits(dx, dy, r_.diameter_)) {
            const StepSpans::Step& step = mayBuild ? table_.step(dx, dy) : table_.builtStep(dx, dy);
            if (step.shiftable()) {
                drawStep(step, line.x0, line.y0, band);
                return;
            }
        }
        drawRows(line, band);
    }

    // A step from the table: every row moves along with it.
    void drawStep(const StepSpans::Step& step, int x0, int y0, const Band& band) {
        const int top = y0 + step.firstRow;
        const int begin = std::max(0, band.top - top);
        const int end = std::min<int>(step.rowCount, band.bottom - top);
        if (begin >= end)
            return;
        const StepSpans::Span* spans = table_.spans(step);
        std::uint8_t* row = maskRow(top + begin);
        // Columns of the mask row, where the surface's column x0 is `start`.
        const int start = x0 + offset_;
        const int lastColumn = width_ - 1 + offset_;
        if (start + step.lowest >= 0 && start + step.highest <= lastColumn) {
            for (int i = begin; i < end; ++i, row += stride_)
                fillBytes(row, start + spans[i].low, start + spans[i].high);
        } else {
            for (int i = begin; i < end; ++i, row += stride_) {
                fillBytes(row, std::max(0, start + spans[i].low),
                          std::min(lastColumn, start + spans[i].high));
            }
        }
    }

    // Any other whole-pixel line, row by row. A row that moves along with the line goes into
    // the mask; one that does not is drawn for each pass apart. The band also looks at the
    // rows whose shadow falls into it, to draw that shadow apart where needed.
    void drawRows(const WholeLine& line, const Band& band) {
        const QPointF from(line.x0, line.y0);
        const QPointF to(line.x1, line.y1);
        const double radius = r_.diameter_ / 2.0;
        const Capsule c = capsuleOf(from, to, radius);
        const int shadowOffset = r_.shadowOn_ ? offset_ : 0;
        const int first = std::max({firstRowOf(c), band.top - shadowOffset, -offset_});
        const int last = std::min({lastRowOf(c), band.bottom - 1, height_ - 1});
        bool shadowMade = false;
        Capsule shadow{};
        for (int y = first; y <= last; ++y) {
            const RowSpan row = rowSpan(c, y);
            const bool moves = !r_.shadowOn_ || shiftable(row);
            if (y >= band.top) {
                if (moves) {
                    const Columns columns = columnsOf(row, -offset_, width_ - 1);
                    fillBytes(maskRow(y), columns.first + offset_, columns.last + offset_);
                } else if (y >= 0) {
                    orBits(exactRow(y), columnsOf(row, 0, width_ - 1), kExactLine);
                    markExact(y);
                }
            }
            const int shadowY = y + shadowOffset;
            if (!moves && shadowY >= std::max(band.top, 0) && shadowY < band.bottom) {
                if (!shadowMade) {
                    const QPointF by(shadowOffset, shadowOffset);
                    shadow = capsuleOf(from + by, to + by, radius);
                    shadowMade = true;
                }
                orBits(exactRow(shadowY), columnsOf(rowSpan(shadow, shadowY), 0, width_ - 1),
                       kExactShadow);
                markExact(shadowY);
            }
        }
    }

    // A line that is clipped or off the whole pixels: each pass on its own, as it comes.
    void drawLoose(const LooseLine& line, const Band& band) {
        drawApart(line.from, line.to, band, kExactLine);
        if (r_.shadowOn_) {
            const QPointF by(offset_, offset_);
            drawApart(line.from + by, line.to + by, band, kExactShadow);
        }
    }

    void drawApart(QPointF from, QPointF to, const Band& band, std::uint8_t bit) {
        if (!(insideClipBox(from) && insideClipBox(to)) && !clipToBox(from, to))
            return;
        const Capsule c = capsuleOf(from, to, r_.diameter_ / 2.0);
        const int first = std::max({firstRowOf(c), band.top, 0});
        const int last = std::min(lastRowOf(c), band.bottom - 1);
        for (int y = first; y <= last; ++y) {
            orBits(exactRow(y), columnsOf(rowSpan(c, y), 0, width_ - 1), bit);
            markExact(y);
        }
    }

    FrameRaster& r_;
    QImage& surface_;
    const FrameLook& look_;
    StepSpans& table_;
    const int bands_;
    std::uint8_t* const mask_;
    const int stride_;
    const int offset_;
    const int width_;
    const int height_;
};

FrameRaster::FrameRaster(int width, int height, BandSplit split)
    : width_(width),
      height_(height),
      split_(split),
      maskStride_((width + kMaxOffset + 63) / 64 * 64),
      exact_(static_cast<std::size_t>(width) * height),
      exactRows_(static_cast<std::size_t>(height)),
      bandOfRow_(static_cast<std::size_t>(height + kMaxOffset)) {
    mask_.resize(static_cast<std::size_t>(height + kMaxOffset) * maskStride_);
}

void FrameRaster::begin(int diameter, int shadowOffset, bool shadowOn) {
    diameter_ = std::clamp(diameter, 1, 2 * kMaxOffset);
    shadowOn_ = shadowOn;
    offset_ = shadowOn ? std::clamp(shadowOffset, 0, kMaxOffset) : 0;
    whole_.clear();
    loose_.clear();
    rows_ = 0;
}

void FrameRaster::add(QPointF from, QPointF to) {
    // Both passes' ends inside the clip box; the shadow's lie offset_ further right and down.
    const double limit = kClipMax - offset_;
    auto inside = [limit](QPointF p) {
        return p.x() >= kClipMin && p.x() <= limit && p.y() >= kClipMin && p.y() <= limit;
    };
    auto whole = [](QPointF p) {
        return static_cast<int>(p.x()) == p.x() && static_cast<int>(p.y()) == p.y();
    };
    if (inside(from) && inside(to) && whole(from) && whole(to)) {
        const WholeLine line{static_cast<std::int32_t>(from.x()),
                             static_cast<std::int32_t>(from.y()), static_cast<std::int32_t>(to.x()),
                             static_cast<std::int32_t>(to.y())};
        whole_.push_back(line);
        rows_ += std::abs(line.y1 - line.y0) + diameter_;
        return;
    }
    loose_.push_back({from, to});
    rows_ += height_;
}

int FrameRaster::bandCount(int threads) const {
    if (threads <= 1 || rows_ < split_.minimumRows)
        return 1;
    return std::clamp(threads * split_.bandsPerThread, 1, std::min(kMaxBands, height_ + offset_));
}

FrameRaster::Band FrameRaster::band(int index, int bands) const {
    const int rows = height_ + offset_;
    return {-offset_ + rows * index / bands, -offset_ + rows * (index + 1) / bands};
}

void FrameRaster::sortIntoBands(StepSpans& table, int bands) {
    for (int i = 0; i < bands; ++i) {
        const Band b = band(i, bands);
        std::fill(bandOfRow_.begin() + (b.top + offset_), bandOfRow_.begin() + (b.bottom + offset_),
                  static_cast<std::uint8_t>(i));
        bins_[i].clear();
        // Room for every line, so the next frames of the drawing need no more.
        if (bins_[i].capacity() < whole_.size())
            bins_[i].reserve(whole_.size() + whole_.size() / 4);
    }
    const int reach = diameter_ / 2 + 1;
    const int lastRow = height_ - 1;
    for (std::size_t i = 0; i < whole_.size(); ++i) {
        const WholeLine& line = whole_[i];
        const int dx = line.x1 - line.x0;
        const int dy = line.y1 - line.y0;
        if (StepSpans::fits(dx, dy, diameter_))
            table.step(dx, dy);
        // The rows of the line and of its shadow, which a band draws apart where needed.
        const int top = std::min(line.y0, line.y1) - reach;
        const int bottom = std::max(line.y0, line.y1) + reach + offset_;
        if (bottom < -offset_ || top > lastRow)
            continue;
        const int firstBand = bandOfRow_[std::max(top, -offset_) + offset_];
        const int lastBand = bandOfRow_[std::min(bottom, lastRow) + offset_];
        for (int b = firstBand; b <= lastBand; ++b)
            bins_[b].push_back(static_cast<std::uint32_t>(i));
    }
}

void FrameRaster::draw(QImage& surface, const FrameLook& look, SpanTables& tables,
                       BandWorkers& workers) {
    StepSpans& table = tables.forDiameter(diameter_);
    const int bands = bandCount(workers.threads());
    if (bands > 1)
        sortIntoBands(table, bands);
    BandDrawer drawer(*this, surface, look, table, bands);
    auto raster = [&drawer](int band) { drawer.raster(band); };
    auto composite = [&drawer](int band) { drawer.composite(band); };
    workers.run(bands, raster);
    workers.run(bands, composite);
}

}  // namespace rek
