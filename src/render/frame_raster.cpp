#include "render/frame_raster.h"

#include <algorithm>
#include <chrono>
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

// Asks for the cache line of `address` ahead of use. GCC 12 drops __builtin_prefetch in the
// band loops below however it is written, so on x86 the instruction is given directly.
inline void prefetch(const void* address) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(address)));
#else
    __builtin_prefetch(address);
#endif
}

// Bits first..last of a mask row set; nothing when last < first. Most spans lie within one
// word.
inline void fillBits(std::uint64_t* row, int first, int last) {
    if (last < first)
        return;
    const int firstWord = first >> 6;
    const int lastWord = last >> 6;
    const std::uint64_t firstMask = ~std::uint64_t{0} << (first & 63);
    const std::uint64_t lastMask = ~std::uint64_t{0} >> (63 - (last & 63));
    if (firstWord == lastWord) {
        row[firstWord] |= firstMask & lastMask;
        return;
    }
    row[firstWord] |= firstMask;
    for (int word = firstWord + 1; word < lastWord; ++word)
        row[word] = ~std::uint64_t{0};
    row[lastWord] |= lastMask;
}

inline void orBits(std::uint8_t* row, Columns columns, std::uint8_t bit) {
    for (int x = columns.first; x <= columns.last; ++x)
        row[x] |= bit;
}

// The 64 bits of a mask row from bit `first` on.
inline std::uint64_t bitsAt(const std::uint64_t* row, int first) {
    const int word = first >> 6;
    const int shift = first & 63;
    if (shift == 0)
        return row[word];
    return (row[word] >> shift) | (row[word + 1] << (64 - shift));
}

// The bits of `count` (at most 64) bytes, set where the byte has `bit`.
inline std::uint64_t bitsOfBytes(const std::uint8_t* bytes, int count, std::uint8_t bit) {
    std::uint64_t bits = 0;
    for (int i = 0; i < count; ++i)
        bits |= static_cast<std::uint64_t>((bytes[i] & bit) != 0) << i;
    return bits;
}

// Four pixels' worth of all-ones or zero words, for each four bits.
struct FourMasks {
    std::uint32_t lanes[16][4];
};

constexpr FourMasks makeFourMasks() {
    FourMasks masks{};
    for (int bits = 0; bits < 16; ++bits) {
        for (int lane = 0; lane < 4; ++lane)
            masks.lanes[bits][lane] = (bits >> lane) & 1 ? ~std::uint32_t{0} : 0;
    }
    return masks;
}

constexpr FourMasks kFourMasks = makeFourMasks();

// Up to 64 pixels from `out` on: the line colour where `line` has a bit, else the shadow
// colour where `shadow` has one, else the background where `background` has one, else what
// was there.
void compositePixels(QRgb* out, int count, std::uint64_t line, std::uint64_t shadow,
                     std::uint64_t background, const FrameLook& look) {
    const std::uint64_t all = count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    if ((line & all) == all) {
        std::fill(out, out + count, look.line);
        return;
    }
    if (((line | shadow) & all) == 0) {
        if ((background & all) == all) {
            std::fill(out, out + count, look.background);
        } else if ((background & all) != 0) {
            for (int x = 0; x < count; ++x) {
                if ((background >> x) & 1)
                    out[x] = look.background;
            }
        }
        return;
    }
    int x = 0;
    for (; x + 4 <= count; x += 4) {
        const std::uint32_t* inLine = kFourMasks.lanes[(line >> x) & 15];
        const std::uint32_t* inShadow = kFourMasks.lanes[(shadow >> x) & 15];
        const std::uint32_t* onCanvas = kFourMasks.lanes[(background >> x) & 15];
        for (int lane = 0; lane < 4; ++lane) {
            const QRgb under =
                (look.background & onCanvas[lane]) | (out[x + lane] & ~onCanvas[lane]);
            const QRgb shaded = (look.shadow & inShadow[lane]) | (under & ~inShadow[lane]);
            out[x + lane] = (look.line & inLine[lane]) | (shaded & ~inLine[lane]);
        }
    }
    for (; x < count; ++x) {
        if ((line >> x) & 1) {
            out[x] = look.line;
        } else if ((shadow >> x) & 1) {
            out[x] = look.shadow;
        } else if ((background >> x) & 1) {
            out[x] = look.background;
        }
    }
}

}  // namespace

// What the bands do, both steps for one band at a time.
class FrameRaster::BandDrawer {
  public:
    BandDrawer(FrameRaster& raster, QImage& surface, const FrameLook& look, StepSpans& table,
               int bands)
        : r_(raster),
          // Taken here, on the calling thread: QImage::bits() detaches, which is not for
          // several threads at once.
          pixels_(surface.bits()),
          bytesPerLine_(surface.bytesPerLine()),
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
        std::fill(maskRow(band.top), maskRow(band.bottom), std::uint64_t{0});
        for (int y = std::max(band.top, 0); y < band.bottom; ++y) {
            if (r_.exactRows_[y]) {
                std::memset(exactRow(y), 0, static_cast<std::size_t>(width_));
                r_.exactRows_[y] = 0;
            }
        }
        const std::vector<WholeLine>& lines = r_.whole_;
        if (bands_ == 1) {
            const std::size_t count = lines.size();
            std::size_t i = 0;
            for (; i + kTableAhead < count; ++i) {
                prefetchTable(lines[i + kTableAhead], lines[i + kSpansAhead]);
                drawWhole(lines[i], band, true);
            }
            for (; i < count; ++i)
                drawWhole(lines[i], band, true);
        } else {
            const std::vector<std::uint32_t>& bin = r_.bins_[index];
            const std::size_t count = bin.size();
            std::size_t i = 0;
            for (; i + kTableAhead < count; ++i) {
                prefetchTable(lines[bin[i + kTableAhead]], lines[bin[i + kSpansAhead]]);
                drawWhole(lines[bin[i]], band, false);
            }
            for (; i < count; ++i)
                drawWhole(lines[bin[i]], band, false);
        }
        for (const LooseLine& line : r_.loose_)
            drawLoose(line, band);
    }

    void composite(int index) {
        const Band band = r_.band(index, bands_);
        const FrameLook look = look_;
        for (int y = std::max(band.top, 0); y < band.bottom; ++y) {
            auto* out = reinterpret_cast<QRgb*>(pixels_ + y * bytesPerLine_);
            // Surface column x is bit x + offset_ of the line's mask row, and bit x of the row
            // offset_ rows up, whose lines cast their shadow here.
            const std::uint64_t* line = maskRow(y);
            const std::uint64_t* shadow = maskRow(y - offset_);
            const std::uint8_t* exact = r_.exactRows_[y] ? exactRow(y) : nullptr;
            const int backgroundEnd = y < look.canvasHeight ? look.canvasWidth : 0;
            for (int x = 0; x < width_; x += 64) {
                const int count = std::min(64, width_ - x);
                std::uint64_t lineBits = bitsAt(line, x + offset_);
                std::uint64_t shadowBits = look.shadowOn ? shadow[x >> 6] : 0;
                if (exact) {
                    lineBits |= bitsOfBytes(exact + x, count, kExactLine);
                    shadowBits |= bitsOfBytes(exact + x, count, kExactShadow);
                }
                const int onCanvas = std::clamp(backgroundEnd - x, 0, 64);
                const std::uint64_t backgroundBits =
                    onCanvas == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << onCanvas) - 1;
                compositePixels(out + x, count, lineBits, shadowBits, backgroundBits, look);
            }
        }
    }

  private:
    // Mask rows and columns start offset_ above and left of the surface.
    std::uint64_t* maskRow(int y) const {
        return mask_ + static_cast<std::size_t>(y + offset_) * stride_;
    }
    std::uint8_t* exactRow(int y) const {
        return r_.exact_.data() + static_cast<std::size_t>(y) * width_;
    }
    void markExact(int y) { r_.exactRows_[y] = 1; }

    // A step the bands met before the table had it, to be built once they are done; a few
    // per band and frame are enough, as the next frames ask again.
    void wantStep(int bandIndex, int dx, int dy) {
        std::vector<WantedStep>& wanted = r_.wanted_[bandIndex];
        if (wanted.size() < wanted.capacity())
            wanted.push_back({static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy)});
    }

    // The step tables do not fit the first cache levels and the lines jump around in them, so
    // the entries of the lines a little ahead are asked for early: the step entry, and the
    // spans of a line whose entry was asked for before. Steps off the table ask for the
    // nearest entry.
    static constexpr std::size_t kTableAhead = 16;
    static constexpr std::size_t kSpansAhead = 8;

    static int ontoTable(int delta) {
        return std::clamp(delta, -StepSpans::kMaxStep, StepSpans::kMaxStep);
    }

    void prefetchTable(const WholeLine& far, const WholeLine& near) const {
        prefetch(&table_.builtStep(ontoTable(far.x1 - far.x0), ontoTable(far.y1 - far.y0)));
        const StepSpans::Step& step =
            table_.builtStep(ontoTable(near.x1 - near.x0), ontoTable(near.y1 - near.y0));
        const StepSpans::Span* spans = table_.spans(step);
        prefetch(spans);
        prefetch(spans + std::max<int>(step.rowCount - 1, 0));
    }

    void drawWhole(const WholeLine& line, const Band& band, bool mayBuild) {
        const int dx = line.x1 - line.x0;
        const int dy = line.y1 - line.y0;
        if (StepSpans::fits(dx, dy, r_.diameter_)) {
            const StepSpans::Step& step = mayBuild ? table_.step(dx, dy) : table_.builtStep(dx, dy);
            if (step.shiftable()) {
                drawStep(step, line.x0, line.y0, band);
                return;
            }
            if (!step.built())
                wantStep(band.index, dx, dy);
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
        std::uint64_t* row = maskRow(top + begin);
        // Columns of the mask row, where the surface's column x0 is `start`.
        const int start = x0 + offset_;
        const int lastColumn = width_ - 1 + offset_;
        if (start + step.lowest >= 0 && start + step.highest <= lastColumn) {
            if (step.narrow) {
                // Each row within 64 bits from its first: one mask over two words, the second
                // getting nothing when the row fits the first. No branches.
                for (int i = begin; i < end; ++i, row += stride_) {
                    const int first = start + spans[i].low;
                    const std::uint64_t bits =
                        (std::uint64_t{1} << (spans[i].high - spans[i].low + 1)) - 1;
                    std::uint64_t* word = row + (first >> 6);
                    const int shift = first & 63;
                    word[0] |= bits << shift;
                    word[1] |= (bits >> 1) >> (63 - shift);
                }
            } else {
                for (int i = begin; i < end; ++i, row += stride_)
                    fillBits(row, start + spans[i].low, start + spans[i].high);
            }
        } else {
            for (int i = begin; i < end; ++i, row += stride_) {
                fillBits(row, std::max(0, start + spans[i].low),
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
            const RowSpan row = onlyTheSidesReach(c, y) ? sidesSpan(c, y) : rowSpan(c, y);
            const bool moves = !r_.shadowOn_ || shiftable(row);
            if (y >= band.top) {
                if (moves) {
                    const Columns columns = columnsOf(row, -offset_, width_ - 1);
                    fillBits(maskRow(y), columns.first + offset_, columns.last + offset_);
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
    uchar* const pixels_;
    const qsizetype bytesPerLine_;
    const FrameLook& look_;
    StepSpans& table_;
    const int bands_;
    std::uint64_t* const mask_;
    const int stride_;
    const int offset_;
    const int width_;
    const int height_;
};

FrameRaster::FrameRaster(int width, int height, BandSplit split)
    : width_(width),
      height_(height),
      split_(split),
      // A word more than the columns need, for reading 64 bits from any column.
      maskStride_((width + kMaxOffset + 63) / 64 + 1),
      exact_(static_cast<std::size_t>(width) * height),
      exactRows_(static_cast<std::size_t>(height)),
      bandOfRow_(static_cast<std::size_t>(height + kMaxOffset)) {
    for (std::vector<WantedStep>& wanted : wanted_)
        wanted.reserve(kWantedPerBand);
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

bool ThreadingChoice::bandsNext() const {
    if (cost_[1] == 0.0)
        return true;
    if (cost_[0] == 0.0)
        return false;
    const bool bandsCheaper = cost_[1] < cost_[0];
    return framesSinceOther_ >= kRetryAfter ? !bandsCheaper : bandsCheaper;
}

void ThreadingChoice::record(bool bands, double secondsPerRow) {
    const bool wasOther = cost_[0] != 0.0 && cost_[1] != 0.0 && bands != (cost_[1] < cost_[0]);
    framesSinceOther_ = wasOther ? 0 : framesSinceOther_ + 1;
    // A retry's old figure is stale; the way in use is smoothed over its last frames.
    double& cost = cost_[bands ? 1 : 0];
    cost = cost == 0.0 || wasOther ? secondsPerRow : 0.75 * cost + 0.25 * secondsPerRow;
}

int FrameRaster::bandCount(int threads) const {
    if (threads <= 1 || rows_ < split_.minimumRows || (split_.adaptive && !choice_.bandsNext()))
        return 1;
    return std::clamp(threads * split_.bandsPerThread, 1, std::min(kMaxBands, height_ + offset_));
}

FrameRaster::Band FrameRaster::band(int index, int bands) const {
    const int rows = height_ + offset_;
    return {index, -offset_ + rows * index / bands, -offset_ + rows * (index + 1) / bands};
}

void FrameRaster::sortIntoBands(int bands) {
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
    const auto start = std::chrono::steady_clock::now();
    StepSpans& table = tables.forDiameter(diameter_);
    const int bands = bandCount(workers.threads());
    if (bands > 1)
        sortIntoBands(bands);
    BandDrawer drawer(*this, surface, look, table, bands);
    auto raster = [&drawer](int band) { drawer.raster(band); };
    auto composite = [&drawer](int band) { drawer.composite(band); };
    workers.run(bands, raster);
    // The bands only read the table; what they missed is built now, between the steps.
    for (int band = 0; band < bands; ++band) {
        for (const WantedStep& step : wanted_[band])
            table.step(step.dx, step.dy);
        wanted_[band].clear();
    }
    workers.run(bands, composite);
    if (workers.threads() > 1 && rows_ >= split_.minimumRows) {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        choice_.record(bands > 1, took.count() / static_cast<double>(rows_));
    }
}

}  // namespace rek
