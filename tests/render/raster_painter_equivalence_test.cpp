#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <random>
#include <string>

#include "reference_capsule.h"
#include "render/raster_painter.h"

namespace rek {
namespace {

// Small on purpose: most shapes touch or cross an edge of the surface somewhere.
constexpr int kWidth = 120;
constexpr int kHeight = 90;
constexpr QRgb kBackgroundRgb = 0xff102030;
constexpr ColorRgb kPen{200, 40, 10};
constexpr QRgb kPenRgb = 0xffc8280a;

// Keeps one painter on one surface for a whole run, so pen changes between lines are covered
// too, and compares every shape against the reference drawing on a second surface.
class PainterMatchesReference : public ::testing::Test {
  protected:
    PainterMatchesReference()
        : surface(kWidth, kHeight, QImage::Format_RGB32),
          expected(kWidth, kHeight, QImage::Format_RGB32),
          painter(surface) {}

    void clear() {
        surface.fill(kBackgroundRgb);
        expected.fill(kBackgroundRgb);
    }

    // Empty when both surfaces agree, otherwise where they first differ.
    std::string mismatch() const {
        for (int y = 0; y < kHeight; ++y) {
            const auto* got = reinterpret_cast<const QRgb*>(surface.constScanLine(y));
            const auto* want = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
            if (std::memcmp(got, want, sizeof(QRgb) * kWidth) == 0)
                continue;
            for (int x = 0; x < kWidth; ++x) {
                if (got[x] != want[x]) {
                    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                           (got[x] == kPenRgb ? "painted" : "not painted");
                }
            }
        }
        return {};
    }

    void checkLine(QPointF from, QPointF to, int width) {
        clear();
        painter.setPen(kPen, width);
        painter.moveTo(from);
        painter.lineTo(to);
        test::referenceLine(expected, from, to, width, kPenRgb);
        const std::string difference = mismatch();
        ASSERT_TRUE(difference.empty())
            << "line (" << from.x() << ", " << from.y() << ") - (" << to.x() << ", " << to.y()
            << ") width " << width << ": " << difference;
    }

    void checkDot(QPointF center, int diameter) {
        clear();
        painter.dot(center, diameter, kPen);
        test::referenceDot(expected, center, diameter, kPenRgb);
        const std::string difference = mismatch();
        ASSERT_TRUE(difference.empty()) << "dot (" << center.x() << ", " << center.y()
                                        << ") diameter " << diameter << ": " << difference;
    }

    QImage surface;
    QImage expected;
    RasterPainter painter;
};

// A coordinate of one of the kinds the painter meets: whole pixels near the surface (the
// usual case), half and arbitrary fractions, values around the clip box and far outside it.
double randomCoordinate(std::mt19937& random, int extent) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> near(-60, extent + 60);
    switch (kind(random)) {
        case 0:
            return near(random) + 0.5;
        case 1:
            return std::uniform_real_distribution<double>(-60.0, extent + 60.0)(random);
        case 2:
            return std::uniform_int_distribution<int>(-4200, -3990)(random);
        case 3:
            return std::uniform_int_distribution<int>(4790, 5000)(random);
        case 4:
            return std::uniform_int_distribution<int>(-2147483647, 2147483647)(random) +
                   std::uniform_int_distribution<int>(-128, 127)(random);
        default:
            return near(random);
    }
}

TEST_F(PainterMatchesReference, RandomLines) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> width(0, 100);
    std::uniform_int_distribution<int> shape(0, 5);
    std::uniform_int_distribution<int> step(-16, 16);
    std::uniform_int_distribution<int> smallWidth(1, 8);
    for (int i = 0; i < 12000; ++i) {
        const QPointF from(randomCoordinate(random, kWidth), randomCoordinate(random, kHeight));
        QPointF to;
        int penWidth = width(random);
        switch (shape(random)) {
            case 0:
            case 1:
                to = QPointF(randomCoordinate(random, kWidth), randomCoordinate(random, kHeight));
                break;
            case 2:
                to = from;
                break;
            default:
                // Short steps of a thin pen, as a drawn stroke is made of.
                to = from + QPointF(step(random), step(random));
                penWidth = smallWidth(random);
                break;
        }
        checkLine(from, to, penWidth);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(PainterMatchesReference, EveryShortWholePixelStep) {
    // Every direction of short segment, near the top-left corner (clipped) and inside.
    const QPointF starts[] = {QPointF(2, 3), QPointF(57, 41), QPointF(118, 88)};
    for (const QPointF& from : starts) {
        for (int penWidth = 1; penWidth <= 12; ++penWidth) {
            for (int dy = -9; dy <= 9; ++dy) {
                for (int dx = -9; dx <= 9; ++dx) {
                    checkLine(from, from + QPointF(dx, dy), penWidth);
                    if (HasFatalFailure())
                        return;
                }
            }
        }
    }
}

TEST_F(PainterMatchesReference, StepsAndPensAroundTheTableLimits) {
    const int lengths[] = {-33, -32, -31, 0, 31, 32, 33};
    const int widths[] = {1, 2, 99, 100, 127, 128, 129, 200};
    for (int penWidth : widths) {
        for (int dy : lengths) {
            for (int dx : lengths) {
                checkLine(QPointF(50, 40), QPointF(50 + dx, 40 + dy), penWidth);
                if (HasFatalFailure())
                    return;
            }
        }
        checkDot(QPointF(50, 40), penWidth);
        if (HasFatalFailure())
            return;
    }
}

TEST_F(PainterMatchesReference, LongLinesAcrossTheClipBox) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> width(1, 100);
    std::uniform_int_distribution<int> y(-30, kHeight + 30);
    std::uniform_int_distribution<int> far(-6000, 6000);
    for (int i = 0; i < 2000; ++i) {
        checkLine(QPointF(far(random), y(random)), QPointF(far(random), y(random)), width(random));
        if (HasFatalFailure())
            return;
        checkLine(QPointF(y(random), far(random)), QPointF(y(random), far(random)), width(random));
        if (HasFatalFailure())
            return;
    }
}

TEST_F(PainterMatchesReference, Dots) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> diameter(-2, 130);
    for (int i = 0; i < 6000; ++i) {
        checkDot(QPointF(randomCoordinate(random, kWidth), randomCoordinate(random, kHeight)),
                 diameter(random));
        if (HasFatalFailure())
            return;
    }
    // Marker dots, lineWidth + 2, of every pen width, on whole and half pixels.
    for (int markerDiameter = 3; markerDiameter <= 102; ++markerDiameter) {
        checkDot(QPointF(60, 45), markerDiameter);
        checkDot(QPointF(-3, 7), markerDiameter);
        checkDot(QPointF(60.5, 45.5), markerDiameter);
        if (HasFatalFailure())
            return;
    }
}

// Steps far to the right on a surface as wide as the clip box: the sums with large positions
// round more coarsely than near the origin, which must not move any span end.
TEST(PainterMatchesReferenceFarRight, ShortSteps) {
    constexpr int kWideWidth = 4900;
    constexpr int kWideHeight = 24;
    QImage surface(kWideWidth, kWideHeight, QImage::Format_RGB32);
    QImage expected(kWideWidth, kWideHeight, QImage::Format_RGB32);
    RasterPainter painter(surface);
    std::mt19937 random(99);
    std::uniform_int_distribution<int> x(3900, 4896);
    std::uniform_int_distribution<int> step(-8, 8);
    std::uniform_int_distribution<int> width(1, 12);
    for (int i = 0; i < 3000; ++i) {
        const int dy = step(random);
        // Half of them diagonal, where span ends fall exactly on pixel edges.
        const int dx = i % 2 == 0 ? (i % 4 == 0 ? dy : -dy) : step(random);
        const QPointF from(x(random), 12);
        const QPointF to = from + QPointF(dx, dy);
        const int penWidth = width(random);
        surface.fill(kBackgroundRgb);
        expected.fill(kBackgroundRgb);
        painter.setPen(kPen, penWidth);
        painter.moveTo(from);
        painter.lineTo(to);
        test::referenceLine(expected, from, to, penWidth, kPenRgb);
        ASSERT_TRUE(surface == expected) << "line (" << from.x() << ", " << from.y() << ") - ("
                                         << to.x() << ", " << to.y() << ") width " << penWidth;
    }
}

}  // namespace
}  // namespace rek
