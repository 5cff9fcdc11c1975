// Draws the program's artwork and writes it as PNG (and SVG) files into the directory given on
// the command line. The files are committed, so a normal build never runs this; the
// `regenerate_artwork` target rebuilds them after a change here.
//
// Toolbar images are drawn on a logical 16 x 15 pixel grid. At scale 1 everything is painted
// without antialiasing so that each icon stays crisp pixel art; at scale 2 the same drawing is
// painted with antialiasing, which doubles the axis-aligned parts exactly and smooths diagonals
// and curves.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Palette shared by every toolbar image.

const QColor kInk(34, 34, 40);
const QColor kGreyDark(96, 98, 108);
const QColor kGrey(160, 164, 176);
const QColor kGreyLight(212, 215, 222);
const QColor kPaper(255, 255, 255);
const QColor kPaperShade(216, 220, 230);
const QColor kOrange(238, 156, 0);  // the model's standard background colour
const QColor kBrown(138, 72, 0);    // the model's standard shadow colour
const QColor kOrangeLight(252, 204, 96);
const QColor kBlue(52, 112, 196);
const QColor kBlueDark(22, 58, 120);
const QColor kBlueLight(150, 190, 240);
const QColor kRed(220, 34, 30);
const QColor kRedLight(255, 150, 140);
const QColor kGreen(58, 160, 44);
const QColor kYellow(252, 214, 72);
const QColor kYellowDark(200, 150, 20);

constexpr int kCellWidth = 16;
constexpr int kCellHeight = 15;
constexpr int kImageCount = 29;

// Centre of pixel (x, y) on the logical grid; lines and outlines run through pixel centres.
QPointF at(double x, double y) {
    return {x + 0.5, y + 0.5};
}

void fill(QPainter& p, int x, int y, int w, int h, const QColor& c) {
    p.fillRect(QRectF(x, y, w, h), c);
}

void dot(QPainter& p, int x, int y, const QColor& c) {
    fill(p, x, y, 1, 1, c);
}

// A filled box with a one-pixel outline, given by its outer pixel rectangle.
void box(QPainter& p, int x, int y, int w, int h, const QColor& inside, const QColor& outline) {
    fill(p, x, y, w, h, outline);
    fill(p, x + 1, y + 1, w - 2, h - 2, inside);
}

QPen pen(const QColor& c, double width = 1.0) {
    return QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

QPen roundPen(const QColor& c, double width = 1.0) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& c, double width = 1.0) {
    p.setPen(pen(c, width));
    p.drawLine(a, b);
}

// A filled polygon through pixel centres with a one-pixel outline.
void shape(QPainter& p, const std::vector<QPointF>& points, const QColor& inside,
           const QColor& outline) {
    p.setPen(pen(outline));
    p.setBrush(inside);
    p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

// Marching-ants rectangle: ink and white pixels alternate so that it shows on any background.
void antsRect(QPainter& p, int x0, int y0, int x1, int y1) {
    auto ant = [&](int x, int y) { dot(p, x, y, (x + y) % 2 == 0 ? kInk : kPaper); };
    for (int x = x0; x <= x1; ++x) {
        ant(x, y0);
        ant(x, y1);
    }
    for (int y = y0 + 1; y < y1; ++y) {
        ant(x0, y);
        ant(x1, y);
    }
}

// A vertex of the model, 3 x 3: red when selected, ink otherwise.
void vertexMark(QPainter& p, int cx, int cy, bool selected) {
    if (selected) {
        box(p, cx - 1, cy - 1, 3, 3, kRed, kRed.darker(160));
    } else {
        fill(p, cx - 1, cy - 1, 3, 3, kInk);
    }
}

// A red "x" two pixels thick on a white halo, filling the square (x, y) .. (x + size, y + size)
// between pixel corners.
void redCross(QPainter& p, int x, int y, int size) {
    const double s = size;
    p.setPen(QPen(kPaper, 4.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, y), QPointF(x + s, y + s));
    p.drawLine(QPointF(x + s, y), QPointF(x, y + s));
    p.setPen(QPen(kRed, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x, y), QPointF(x + s, y + s));
    p.drawLine(QPointF(x + s, y), QPointF(x, y + s));
}

// 3 x 5 pixel letters (M is 5 wide), for the file-format labels.
void letters(QPainter& p, int x, int y, const char* text, const QColor& c) {
    struct Glyph {
        char ch;
        int width;
        const char* rows[5];
    };
    static const Glyph glyphs[] = {
        {'G', 3, {".##", "#..", "#.#", "#.#", ".##"}},
        {'I', 3, {"###", ".#.", ".#.", ".#.", "###"}},
        {'F', 3, {"###", "#..", "##.", "#..", "#.."}},
        {'B', 3, {"##.", "#.#", "##.", "#.#", "##."}},
        {'M', 5, {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
        {'P', 3, {"##.", "#.#", "##.", "#..", "#.."}},
    };
    for (const char* ch = text; *ch != '\0'; ++ch) {
        for (const Glyph& g : glyphs) {
            if (g.ch != *ch) {
                continue;
            }
            for (int row = 0; row < 5; ++row) {
                for (int col = 0; col < g.width; ++col) {
                    if (g.rows[row][col] == '#') {
                        dot(p, x + col, y + row, c);
                    }
                }
            }
            x += g.width + 1;
        }
    }
}

// Rasterises a path as a clean one-pixel line for the scale-1 images: Bresenham steps between
// the flattened points, then every "elbow" pixel (one that turns an 8-connected diagonal step
// into an L) is dropped. Qt's aliased curves leave such doubled pixels, which look ragged at
// this size.
void pixelPath(QPainter& p, const QPainterPath& path, const QColor& c) {
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        std::vector<QPoint> px;
        auto add = [&](QPoint q) {
            if (px.empty() || px.back() != q) {
                px.push_back(q);
            }
        };
        for (int i = 0; i + 1 < poly.size(); ++i) {
            const QPoint a(static_cast<int>(std::floor(poly[i].x())),
                           static_cast<int>(std::floor(poly[i].y())));
            const QPoint b(static_cast<int>(std::floor(poly[i + 1].x())),
                           static_cast<int>(std::floor(poly[i + 1].y())));
            const int dx = std::abs(b.x() - a.x());
            const int dy = -std::abs(b.y() - a.y());
            const int sx = a.x() < b.x() ? 1 : -1;
            const int sy = a.y() < b.y() ? 1 : -1;
            int err = dx + dy;
            QPoint q = a;
            while (true) {
                add(q);
                if (q == b) {
                    break;
                }
                const int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    q.rx() += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    q.ry() += sy;
                }
            }
        }
        std::vector<QPoint> clean;
        for (std::size_t i = 0; i < px.size(); ++i) {
            if (i > 0 && i + 1 < px.size()) {
                const QPoint d = px[i + 1] - clean.back();
                if (std::abs(d.x()) == 1 && std::abs(d.y()) == 1) {
                    continue;
                }
            }
            clean.push_back(px[i]);
        }
        for (const QPoint& q : clean) {
            dot(p, q.x(), q.y(), c);
        }
    }
}

bool pixelArt(const QPainter& p) {
    return !p.testRenderHint(QPainter::Antialiasing);
}

// A thin line along a path: clean pixels at scale 1, a smooth stroke at scale 2.
void thinPath(QPainter& p, const QPainterPath& path, const QColor& c) {
    if (pixelArt(p)) {
        pixelPath(p, path, c);
        return;
    }
    p.setPen(roundPen(c));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// A drawing stroke as the program shows it: black line over a brown shadow one pixel lower right.
void modelStroke(QPainter& p, const QPainterPath& path) {
    thinPath(p, path.translated(1, 1), kBrown);
    thinPath(p, path, kInk);
}

// A filled shape with a one-pixel outline. At scale 1 the shape is rasterised to a pixel mask
// first and its border pixels become the outline, which keeps small shapes (gear teeth, arrow
// tails) even; at scale 2 it is filled and stroked as a vector.
void solid(QPainter& p, const QPainterPath& area, const QColor& inside) {
    if (!pixelArt(p)) {
        p.setPen(pen(kInk, 1.0));
        p.setBrush(inside);
        p.drawPath(area);
        return;
    }
    QImage mask(kCellWidth + 2, kCellHeight + 2, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    {
        QPainter m(&mask);
        m.translate(1, 1);
        m.setPen(Qt::NoPen);
        m.setBrush(Qt::black);
        m.drawPath(area);
    }
    auto on = [&](int x, int y) { return qAlpha(mask.pixel(x + 1, y + 1)) > 0; };
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            if (!on(x, y)) {
                continue;
            }
            const bool border = !on(x - 1, y) || !on(x + 1, y) || !on(x, y - 1) || !on(x, y + 1);
            dot(p, x, y, border ? kInk : inside);
        }
    }
}

// Hand-placed pixels for the scale-1 images where a drawn shape would come out uneven:
// '#' ink, 'g' grey, 'y' yellow, 'o' light orange, anything else is left alone.
void pixels(QPainter& p, int x, int y, std::initializer_list<const char*> rows) {
    int r = 0;
    for (const char* row : rows) {
        for (int col = 0; row[col] != '\0'; ++col) {
            switch (row[col]) {
                case '#':
                    dot(p, x + col, y + r, kInk);
                    break;
                case 'g':
                    dot(p, x + col, y + r, kGrey);
                    break;
                case 'y':
                    dot(p, x + col, y + r, kYellow);
                    break;
                case 'o':
                    dot(p, x + col, y + r, kOrangeLight);
                    break;
                default:
                    break;
            }
        }
        ++r;
    }
}

// A circle of diameter 12 with its top-left pixel at (x, y), hand-placed for scale 1.
void pixelCircle(QPainter& p, int x, int y, const QColor& c) {
    static const char* const rows[12] = {
        "....####....", "..##....##..", ".#........#.", ".#........#.",
        "#..........#", "#..........#", "#..........#", "#..........#",
        ".#........#.", ".#........#.", "..##....##..", "....####....",
    };
    for (int r = 0; r < 12; ++r) {
        for (int col = 0; col < 12; ++col) {
            if (rows[r][col] == '#') {
                dot(p, x + col, y + r, c);
            }
        }
    }
}

QPainterPath segment(QPointF a, QPointF b) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    return path;
}

// ---------------------------------------------------------------------------------------------
// The toolbar images, one function each, in strip order.

void sheet(QPainter& p, int x0, int x1, int y0, int y1, int fold) {
    shape(p, {at(x0, y0), at(x1 - fold, y0), at(x1, y0 + fold), at(x1, y1), at(x0, y1)}, kPaper,
          kInk);
    shape(p, {at(x1 - fold, y0), at(x1 - fold, y0 + fold), at(x1, y0 + fold)}, kPaperShade, kInk);
}

void drawNew(QPainter& p) {
    sheet(p, 2, 12, 0, 14, 4);
    // A spark in the corner: something fresh.
    line(p, at(12, 8), at(12, 14), kYellowDark);
    line(p, at(9, 11), at(15, 11), kYellowDark);
    fill(p, 11, 10, 3, 3, kYellow);
    dot(p, 12, 11, kPaper);
}

void drawOpen(QPainter& p) {
    // Back of the folder with its tab.
    shape(p, {at(0, 2), at(5, 2), at(6, 3), at(13, 3), at(13, 13), at(0, 13)}, kYellowDark, kInk);
    // A sheet sticking out.
    box(p, 2, 5, 10, 5, kPaper, kGreyDark);
    // Front flap, opened towards the viewer.
    shape(p, {at(3, 7), at(15, 7), at(13, 13), at(0, 13)}, kYellow, kInk);
}

void floppy(QPainter& p, int x, int y, int size) {
    const int e = x + size - 1;
    const int b = y + size - 1;
    shape(p, {at(x, y), at(e - 1, y), at(e, y + 1), at(e, b), at(x, b)}, kBlue, kInk);
    // Metal shutter with its slot.
    box(p, x + 3, y, size - 6, 5, kGreyLight, kInk);
    fill(p, x + size - 6, y + 1, 2, 3, kGreyDark);
    // Label.
    box(p, x + 2, y + size - 6, size - 4, 6, kPaper, kInk);
    line(p, at(x + 4, y + size - 4), at(x + size - 5, y + size - 4), kGrey);
}

void drawSave(QPainter& p) {
    floppy(p, 1, 0, 14);
}

void drawSaveAs(QPainter& p) {
    floppy(p, 0, 0, 12);
    // A pencil writing the new name.
    if (pixelArt(p)) {
        pixels(p, 6, 4,
               {".......##.", "......#yy#", ".....#yyy#", "....#yyy#.", "...#yyy#..", "..#ooo#...",
                "..#oo#....", ".##o#.....", ".###......"});
        return;
    }
    QPainterPath body;
    body.moveTo(16.5, 3.5);
    body.lineTo(9.0, 11.0);
    QPainterPathStroker stroker;
    stroker.setWidth(4.0);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath tip;
    tip.moveTo(7.6, 9.6);
    tip.lineTo(10.4, 12.4);
    tip.lineTo(5.5, 14.5);
    tip.closeSubpath();
    solid(p, tip, kOrangeLight);
    solid(p, stroker.createStroke(body), kYellow);
    fill(p, 5, 13, 2, 2, kInk);
}

void drawStraightLine(QPainter& p) {
    modelStroke(p, segment(at(2, 12), at(12, 2)));
    vertexMark(p, 2, 12, false);
    vertexMark(p, 12, 2, false);
}

void drawCurve(QPainter& p) {
    QPainterPath s;
    s.moveTo(at(1, 12));
    s.cubicTo(at(4, -3), at(9, 17), at(13, 2));
    modelStroke(p, s);
}

void arrowHead(QPainter& p, QPointF tip, QPointF dir, const QColor& c) {
    // A small filled triangle pointing along dir (a unit axis vector).
    const QPointF side(-dir.y(), dir.x());
    const QPointF base = tip - dir * 2.0;
    shape(p, {tip, base + side * 2.0, base - side * 2.0}, c, c);
}

void drawMove(QPainter& p) {
    line(p, at(7, 2), at(7, 12), kInk);
    line(p, at(2, 7), at(12, 7), kInk);
    arrowHead(p, at(7, 0), {0, -1}, kInk);
    arrowHead(p, at(7, 14), {0, 1}, kInk);
    arrowHead(p, at(0, 7), {-1, 0}, kInk);
    arrowHead(p, at(14, 7), {1, 0}, kInk);
    vertexMark(p, 7, 7, true);
}

void drawScale(QPainter& p) {
    antsRect(p, 1, 1, 14, 13);
    box(p, 2, 8, 5, 5, kRedLight, kRed.darker(140));
    line(p, at(6, 8), at(11, 3), kInk);
    shape(p, {at(12, 2), at(8, 3), at(11, 6)}, kInk, kInk);
}

void drawVtr(QPainter& p) {
    // Video cassette: dark shell, light window with two reels.
    box(p, 0, 1, 16, 11, kGreyDark, kInk);
    box(p, 2, 3, 12, 5, kOrangeLight, kInk);
    fill(p, 3, 4, 3, 3, kPaper);
    fill(p, 10, 4, 3, 3, kPaper);
    dot(p, 4, 5, kInk);
    dot(p, 11, 5, kInk);
    fill(p, 6, 5, 4, 1, kBrown);
    // Play button.
    shape(p, {at(8, 7), at(14, 10.5), at(8, 14)}, kGreen, kInk);
}

void drawAbout(QPainter& p) {
    p.setPen(pen(kBlueDark));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(0.5, 0.5, 14.0, 13.0));
    fill(p, 7, 3, 2, 2, kPaper);
    fill(p, 7, 6, 2, 5, kPaper);
    fill(p, 6, 6, 1, 1, kPaper);
    fill(p, 6, 10, 4, 1, kPaper);
}

void drawSettings(QPainter& p) {
    if (pixelArt(p)) {
        pixels(p, 1, 0,
               {"......###......", "..##..#g#..##..", "..#g##ggg##g#..", "...#ggggggg#...",
                "..#ggg###ggg#..", "###gg#...#gg###", "#ggg#.....#ggg#", "#ggg#.....#ggg#",
                "#ggg#.....#ggg#", "###gg#...#gg###", "..#ggg###ggg#..", "...#ggggggg#...",
                "..#g##ggg##g#..", "..##..#g#..##..", "......###......"});
        return;
    }
    // Gear wheel with eight teeth around a hole.
    QPainterPath gear;
    const QPointF c(8.0, 7.5);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double angle = (i - 1.5) * 2.0 * std::numbers::pi / (teeth * 4);
        const double r = (i % 4 < 2) ? 7.0 : 5.0;
        const QPointF pt = c + QPointF(std::cos(angle) * r, std::sin(angle) * r);
        if (i == 0) {
            gear.moveTo(pt);
        } else {
            gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(c, 2.0, 2.0);
    gear.setFillRule(Qt::OddEvenFill);
    solid(p, gear, kGrey);
}

void drawDeleteLines(QPainter& p) {
    modelStroke(p, segment(at(1, 12), at(10, 3)));
    vertexMark(p, 1, 12, true);
    vertexMark(p, 10, 3, true);
    redCross(p, 9, 8, 5);
}

void drawGif(QPainter& p) {
    // A strip of film: animation frames.
    box(p, 0, 0, 16, 9, kInk, kInk);
    for (int x = 1; x < 16; x += 2) {
        dot(p, x, 1, kPaper);
        dot(p, x, 7, kPaper);
    }
    fill(p, 1, 3, 4, 3, kOrange);
    fill(p, 6, 3, 4, 3, kOrange);
    fill(p, 11, 3, 4, 3, kOrange);
    dot(p, 2, 4, kInk);
    dot(p, 8, 4, kInk);
    dot(p, 13, 3, kInk);
    letters(p, 2, 10, "GIF", kBlueDark);
}

void picture(QPainter& p, int x, int y, bool front) {
    box(p, x, y, 11, 8, kOrange, kInk);
    if (front) {
        QPainterPath zigzag;
        zigzag.moveTo(at(x + 2, y + 5));
        zigzag.lineTo(at(x + 4, y + 2));
        zigzag.lineTo(at(x + 6, y + 5));
        zigzag.lineTo(at(x + 8, y + 2));
        thinPath(p, zigzag, kInk);
    }
}

void drawBmp(QPainter& p) {
    // A numbered series: pictures stacked one behind the other.
    picture(p, 4, 0, false);
    picture(p, 2, 1, false);
    picture(p, 0, 2, true);
    letters(p, 1, 10, "BMP", kBlueDark);
}

void drawProperties(QPainter& p) {
    box(p, 1, 0, 14, 15, kPaper, kInk);
    fill(p, 2, 1, 12, 2, kBlue);
    const QColor swatches[] = {kOrange, kBrown, kInk};
    for (int i = 0; i < 3; ++i) {
        const int y = 4 + i * 3;
        box(p, 3, y, 3, 3, swatches[i], kInk);
        line(p, at(7, y + 1), at(12, y + 1), kGrey);
    }
}

void drawWobble(QPainter& p) {
    // A jittery line between shake marks.
    QPainterPath zigzag;
    zigzag.moveTo(at(3, 10));
    zigzag.lineTo(at(5, 4));
    zigzag.lineTo(at(7, 10));
    zigzag.lineTo(at(9, 3));
    zigzag.lineTo(at(11, 9));
    modelStroke(p, zigzag);
    thinPath(p, segment(at(0, 5), at(0, 9)), kGreyDark);
    thinPath(p, segment(at(1, 3), at(1, 11)), kGreyDark);
    thinPath(p, segment(at(14, 4), at(14, 10)), kGreyDark);
    thinPath(p, segment(at(15, 6), at(15, 8)), kGreyDark);
}

void drawRectangle(QPainter& p) {
    // Axis-aligned, so plain outlines: exact at both scales.
    auto frame = [&](int x, int y, const QColor& c) {
        fill(p, x, y, 12, 1, c);
        fill(p, x, y + 9, 12, 1, c);
        fill(p, x, y, 1, 10, c);
        fill(p, x + 11, y, 1, 10, c);
    };
    frame(2, 3, kBrown);
    frame(1, 2, kInk);
}

QRectF circleBox() {
    return QRectF(at(1, 1), at(12, 12));
}

void drawCircle(QPainter& p) {
    if (pixelArt(p)) {
        pixelCircle(p, 2, 2, kBrown);
        pixelCircle(p, 1, 1, kInk);
        return;
    }
    QPainterPath circle;
    circle.addEllipse(circleBox());
    modelStroke(p, circle);
}

// Diagonal hatching clipped to an area, as the filled-shape tools draw it.
void hatch(QPainter& p, const QPainterPath& area) {
    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    for (int k = -16; k < 32; k += 3) {
        line(p, at(k, 15), at(k + 15, 0), kInk);
    }
    p.restore();
}

void drawFilledRectangle(QPainter& p) {
    QPainterPath area;
    area.addRect(QRectF(2, 3, 10, 8));
    hatch(p, area);
    drawRectangle(p);
}

void drawFilledCircle(QPainter& p) {
    QPainterPath area;
    area.addEllipse(circleBox().adjusted(0.5, 0.5, -0.5, -0.5));
    hatch(p, area);
    drawCircle(p);
}

// The select cursor in small: a cross centred on (cx, cy).
void miniCross(QPainter& p, int cx, int cy) {
    fill(p, cx - 3, cy - 1, 7, 3, kPaper);
    fill(p, cx - 1, cy - 3, 3, 7, kPaper);
    fill(p, cx - 3, cy, 7, 1, kInk);
    fill(p, cx, cy - 3, 1, 7, kInk);
}

void drawRangeSelect(QPainter& p) {
    antsRect(p, 0, 0, 11, 10);
    vertexMark(p, 3, 3, true);
    vertexMark(p, 7, 6, true);
    miniCross(p, 12, 11);
}

void drawClearSelection(QPainter& p) {
    antsRect(p, 0, 0, 13, 11);
    vertexMark(p, 3, 4, false);
    vertexMark(p, 8, 3, false);
    vertexMark(p, 5, 8, false);
    redCross(p, 10, 9, 5);
}

void drawSelectAll(QPainter& p) {
    antsRect(p, 0, 0, 15, 14);
    fill(p, 1, 1, 14, 13, QColor(255, 228, 224));
    vertexMark(p, 4, 4, true);
    vertexMark(p, 11, 3, true);
    vertexMark(p, 4, 10, true);
    vertexMark(p, 11, 10, true);
    vertexMark(p, 8, 7, true);
}

void drawInvert(QPainter& p) {
    // Inside and outside change places: one diagonal half tinted.
    shape(p, {at(1, 1), at(14, 1), at(1, 13)}, kRedLight, kRedLight);
    antsRect(p, 0, 0, 15, 14);
    vertexMark(p, 4, 4, true);
    vertexMark(p, 11, 10, false);
    line(p, at(12, 1), at(1, 12), kRed.darker(140));
}

void drawDeleteLastVertex(QPainter& p) {
    QPainterPath path;
    path.moveTo(at(1, 12));
    path.lineTo(at(4, 3));
    path.lineTo(at(8, 9));
    modelStroke(p, path);
    vertexMark(p, 1, 12, false);
    vertexMark(p, 4, 3, false);
    vertexMark(p, 8, 9, true);
    redCross(p, 10, 2, 5);
}

QPainterPath undoArrowPath() {
    QPainterPath arc;
    arc.moveTo(7.5, 12.0);
    arc.cubicTo(13.5, 12.0, 13.5, 5.0, 9.0, 5.0);
    arc.lineTo(5.0, 5.0);
    return arc;
}

void drawUndo(QPainter& p) {
    QPainterPathStroker stroker;
    stroker.setWidth(4.0);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath arrow = stroker.createStroke(undoArrowPath());
    QPainterPath head;
    head.moveTo(0.0, 5.0);
    head.lineTo(6.0, -1.0);
    head.lineTo(6.0, 11.0);
    head.closeSubpath();
    arrow = arrow.united(head);
    solid(p, arrow.simplified(), kBlue);
}

void drawRedo(QPainter& p) {
    p.save();
    p.translate(16, 0);
    p.scale(-1, 1);
    drawUndo(p);
    p.restore();
}

void drawNothing(QPainter&) {}

using DrawFn = void (*)(QPainter&);

// Strip order: the image index each toolbar button uses.
const std::array<DrawFn, kImageCount> kToolbarImages = {
    drawNew,          drawOpen,        drawSave,
    drawStraightLine, drawCurve,       drawMove,
    drawScale,        drawVtr,         drawAbout,
    drawSettings,     drawDeleteLines, drawSaveAs,
    drawGif,          drawProperties,  drawWobble,
    drawRectangle,    drawCircle,      drawFilledRectangle,
    drawFilledCircle, drawRangeSelect, drawClearSelection,
    drawSelectAll,    drawInvert,      drawDeleteLastVertex,
    drawUndo,         drawRedo,        drawNothing,
    drawNothing,      drawBmp,
};

QImage toolbarStrip(int scale) {
    QImage strip(kImageCount * kCellWidth * scale, kCellHeight * scale,
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    for (int i = 0; i < kImageCount; ++i) {
        QPainter p(&strip);
        p.setRenderHint(QPainter::Antialiasing, scale > 1);
        p.translate(i * kCellWidth * scale, 0);
        p.scale(scale, scale);
        p.setClipRect(QRectF(0, 0, kCellWidth, kCellHeight));
        kToolbarImages[static_cast<std::size_t>(i)](p);
    }
    return strip.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------------
// Program and document icons: a doodle in the program's colours, jittered like a model frame.

const QColor kIconBackground(238, 156, 0);
const QColor kIconShadow(138, 72, 0);
const QColor kIconLine(0, 0, 0);

// The program's own random sequence, seeded with a constant so the files never change.
class Jitter {
  public:
    explicit Jitter(std::uint32_t seed) : state_(seed) {}
    double next(double amount) {
        state_ = state_ * 214013u + 2531011u;
        const int r = static_cast<int>((state_ >> 16) & 0x7FFF);
        return (r / 32767.0 * 2.0 - 1.0) * amount;
    }

  private:
    std::uint32_t state_;
};

using Stroke = std::vector<QPointF>;

// The doodle on a 256 x 256 grid: a cat's face, drawn as the tool would draw it.
// At the smallest sizes only the head's outline is drawn: the face would just smudge it.
std::vector<Stroke> doodle(bool withFace = true) {
    std::vector<Stroke> strokes;
    // Head with two ears, one closed stroke.
    Stroke head;
    const QPointF c(128, 142);
    const int steps = 28;
    for (int i = 0; i <= steps; ++i) {
        const double a = -std::numbers::pi / 2 + 2 * std::numbers::pi * i / steps;
        head.push_back(c + QPointF(std::cos(a) * 82, std::sin(a) * 70));
    }
    // Replace the top of the outline by the ears.
    Stroke withEars;
    for (const QPointF& pt : head) {
        if (pt.y() < 100 && std::abs(pt.x() - 128) < 70) {
            continue;
        }
        withEars.push_back(pt);
    }
    // withEars starts at the top right; rebuild so the ears sit between the two cut ends.
    Stroke outline;
    std::size_t cut = 0;
    for (std::size_t i = 1; i < withEars.size(); ++i) {
        if (std::abs(withEars[i].x() - withEars[i - 1].x()) > 60) {
            cut = i;
        }
    }
    for (std::size_t i = cut; i < withEars.size(); ++i) {
        outline.push_back(withEars[i]);
    }
    for (std::size_t i = 0; i < cut; ++i) {
        outline.push_back(withEars[i]);
    }
    // outline now runs from the upper right, round the bottom, to the upper left.
    outline.push_back({62, 38});
    outline.push_back({100, 78});
    outline.push_back({156, 78});
    outline.push_back({194, 38});
    outline.push_back(outline.front());
    strokes.push_back(outline);
    if (!withFace) {
        return strokes;
    }
    // Eyes.
    strokes.push_back({{100, 124}, {100, 140}});
    strokes.push_back({{156, 124}, {156, 140}});
    // Mouth, a little "w".
    strokes.push_back({{104, 170}, {116, 182}, {128, 170}, {140, 182}, {152, 170}});
    return strokes;
}

std::vector<Stroke> jittered(const std::vector<Stroke>& strokes, double amount,
                             std::uint32_t seed) {
    Jitter jitter(seed);
    std::vector<Stroke> out;
    for (const Stroke& s : strokes) {
        Stroke js;
        for (const QPointF& pt : s) {
            js.push_back(pt + QPointF(jitter.next(amount), jitter.next(amount)));
        }
        // A closed stroke stays closed.
        if (s.size() > 2 && s.front() == s.back()) {
            js.back() = js.front();
        }
        out.push_back(js);
    }
    return out;
}

// Line width and shadow offset on the 256 grid for an icon of `size` pixels: thin lines would
// vanish at small sizes, so they get at least about 1.5 device pixels.
double lineWidthFor(int size) {
    return std::max(16.0, 1.6 * 256.0 / size);
}
double shadowOffsetFor(int size) {
    return std::max(10.0, 1.0 * 256.0 / size);
}

void drawDoodle(QPainter& p, const std::vector<Stroke>& strokes, double width, double offset) {
    for (int pass = 0; pass < 2; ++pass) {
        p.save();
        if (pass == 0) {
            p.translate(offset, offset);
        }
        p.setPen(QPen(pass == 0 ? kIconShadow : kIconLine, width, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (const Stroke& s : strokes) {
            p.drawPolyline(s.data(), static_cast<int>(s.size()));
        }
        p.restore();
    }
}

const QRectF kTile(16, 16, 224, 224);
constexpr double kTileRadius = 40;

QImage programIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const QRectF tile = size <= 16 ? QRectF(0, 0, 256, 256) : kTile;
    p.setPen(QPen(kIconShadow, std::max(8.0, 256.0 / size)));
    p.setBrush(kIconBackground);
    p.drawRoundedRect(tile.adjusted(4, 4, -4, -4), kTileRadius, kTileRadius);
    drawDoodle(p, jittered(doodle(size > 16), 4.0, 1), lineWidthFor(size), shadowOffsetFor(size));
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// Page outline on the 256 grid, with the folded corner at the top right.
const double kPageLeft = 36, kPageRight = 220, kPageTop = 8, kPageBottom = 248, kFold = 56;

QImage modelDocumentIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const double edge = std::max(8.0, 256.0 / size);
    QPolygonF page({{kPageLeft, kPageTop},
                    {kPageRight - kFold, kPageTop},
                    {kPageRight, kPageTop + kFold},
                    {kPageRight, kPageBottom},
                    {kPageLeft, kPageBottom}});
    p.setPen(QPen(QColor(90, 90, 96), edge, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(page);
    p.setBrush(QColor(222, 222, 228));
    p.drawPolygon(QPolygonF({{kPageRight - kFold, kPageTop},
                             {kPageRight - kFold, kPageTop + kFold},
                             {kPageRight, kPageTop + kFold}}));
    // The picture on the page: the program's tile with its doodle, scaled into the page.
    const QRectF pic(kPageLeft + 22, 84, kPageRight - kPageLeft - 44, 140);
    p.setPen(Qt::NoPen);
    p.setBrush(kIconBackground);
    p.drawRect(pic);
    p.save();
    p.translate(pic.left() + (pic.width() - pic.height()) / 2, pic.top());
    p.scale(pic.height() / 256.0, pic.height() / 256.0);
    const double s = 256.0 / pic.height();
    drawDoodle(p, jittered(doodle(size > 32), 4.0, 1), lineWidthFor(size) * s,
               shadowOffsetFor(size) * s);
    p.restore();
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

// SVG versions of the two icons for scalable desktops, from the same geometry.
QString svgColor(const QColor& c) {
    return c.name();
}

QString svgPolyline(const Stroke& s, const QColor& c, double width, double dx, double dy) {
    QString points;
    for (const QPointF& pt : s) {
        points += QStringLiteral("%1,%2 ").arg(pt.x() + dx, 0, 'f', 1).arg(pt.y() + dy, 0, 'f', 1);
    }
    return QStringLiteral(
               "  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
               "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
        .arg(points.trimmed(), svgColor(c))
        .arg(width);
}

QString svgDoodle(const QString& transform) {
    const auto strokes = jittered(doodle(), 4.0, 1);
    QString out = QStringLiteral(" <g transform=\"%1\">\n").arg(transform);
    for (const Stroke& s : strokes) {
        out += svgPolyline(s, kIconShadow, 16, 10, 10);
    }
    for (const Stroke& s : strokes) {
        out += svgPolyline(s, kIconLine, 16, 0, 0);
    }
    return out + QStringLiteral(" </g>\n");
}

QString programIconSvg() {
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               " <rect x=\"20\" y=\"20\" width=\"216\" height=\"216\" rx=\"40\" fill=\"%1\" "
               "stroke=\"%2\" stroke-width=\"8\"/>\n")
               .arg(svgColor(kIconBackground), svgColor(kIconShadow)) +
           svgDoodle(QStringLiteral("translate(0,0)")) + QStringLiteral("</svg>\n");
}

QString modelDocumentIconSvg() {
    const double picW = kPageRight - kPageLeft - 44;
    const double picX = kPageLeft + 22;
    const double picH = 140;
    const double scale = picH / 256.0;
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               " <path d=\"M%1 %2 H%3 L%4 %5 V%6 H%1 Z\" fill=\"#ffffff\" stroke=\"#5a5a60\" "
               "stroke-width=\"8\" stroke-linejoin=\"miter\"/>\n"
               " <path d=\"M%3 %2 V%5 H%4 Z\" fill=\"#dedee4\" stroke=\"#5a5a60\" "
               "stroke-width=\"8\" stroke-linejoin=\"miter\"/>\n")
               .arg(kPageLeft)
               .arg(kPageTop)
               .arg(kPageRight - kFold)
               .arg(kPageRight)
               .arg(kPageTop + kFold)
               .arg(kPageBottom) +
           QStringLiteral(" <rect x=\"%1\" y=\"84\" width=\"%2\" height=\"%3\" fill=\"%4\"/>\n")
               .arg(picX)
               .arg(picW)
               .arg(picH)
               .arg(svgColor(kIconBackground)) +
           svgDoodle(QStringLiteral("translate(%1,84) scale(%2)")
                         .arg(picX + (picW - picH) / 2, 0, 'f', 2)
                         .arg(scale, 0, 'f', 6)) +
           QStringLiteral("</svg>\n");
}

bool writeImage(const QImage& image, const QString& path) {
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeText(const QString& text, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    file.write(text.toUtf8());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless told otherwise: this runs in builds without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "cannot create %s/icons\n", argv[1]);
        return 1;
    }
    bool ok = writeImage(toolbarStrip(1), out.filePath(QStringLiteral("toolbar.png")));
    ok = writeImage(toolbarStrip(2), out.filePath(QStringLiteral("toolbar@2x.png"))) && ok;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        ok = writeImage(programIcon(size),
                        out.filePath(QStringLiteral("icons/rektool-%1.png").arg(size))) &&
             ok;
        ok = writeImage(modelDocumentIcon(size),
                        out.filePath(QStringLiteral("icons/rektool-model-%1.png").arg(size))) &&
             ok;
    }
    ok = writeText(programIconSvg(), out.filePath(QStringLiteral("icons/rektool.svg"))) && ok;
    ok = writeText(modelDocumentIconSvg(),
                   out.filePath(QStringLiteral("icons/rektool-model.svg"))) &&
         ok;
    return ok ? 0 : 1;
}
