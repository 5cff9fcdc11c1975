#include <gtest/gtest.h>

#include <QBitmap>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include "artwork.h"
#include "resources_init.h"

namespace rek {
namespace {

// Images 26 and 27 are not used by any button.
bool usedImage(int index) {
    return index != 26 && index != 27;
}

bool cellHasPixels(const QImage& strip, const QRect& cell) {
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if (qAlpha(strip.pixel(x, y)) > 0) {
                return true;
            }
        }
    }
    return false;
}

TEST(ToolbarStrip, BothResolutionsHaveOneDrawnCellPerUsedImage) {
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage strip(scale == 1 ? kToolbarStripResource : kToolbarStrip2xResource);
        ASSERT_FALSE(strip.isNull());
        const QSize cell = kToolbarImageSize * scale;
        EXPECT_EQ(strip.size(), QSize(cell.width() * kToolbarImageCount, cell.height()));
        EXPECT_TRUE(strip.hasAlphaChannel());
        for (int i = 0; i < kToolbarImageCount; ++i) {
            const QRect r(i * cell.width(), 0, cell.width(), cell.height());
            EXPECT_EQ(cellHasPixels(strip, r), usedImage(i)) << "image " << i;
        }
    }
}

TEST(ToolbarStrip, IconsCarryBothResolutionsAndRejectBadIndices) {
    const QIcon icon = toolbarIcon(0);
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 15)));
    EXPECT_TRUE(sizes.contains(QSize(32, 30)));

    // The last image (BMP) comes from the right end of the strip, not from a clipped copy.
    const QImage last = toolbarIcon(kToolbarImageCount - 1).pixmap(QSize(16, 15), 1.0).toImage();
    const QImage strip(kToolbarStripResource);
    EXPECT_EQ(last.convertToFormat(QImage::Format_ARGB32),
              strip.copy(QRect(16 * (kToolbarImageCount - 1), 0, 16, 15))
                  .convertToFormat(QImage::Format_ARGB32));

    EXPECT_TRUE(toolbarIcon(-1).isNull());
    EXPECT_TRUE(toolbarIcon(kToolbarImageCount).isNull());
}

TEST(SelectCursorShape, CrossAndSignsSitWhereDescribed) {
    for (auto kind : {SelectCursorKind::Plain, SelectCursorKind::Add, SelectCursorKind::Remove}) {
        // The cross: 17 pixels through the hot spot, both ways, and no further.
        EXPECT_TRUE(selectCursorPixel(kind, 15, 15));
        EXPECT_TRUE(selectCursorPixel(kind, 7, 15));
        EXPECT_TRUE(selectCursorPixel(kind, 23, 15));
        EXPECT_TRUE(selectCursorPixel(kind, 15, 7));
        EXPECT_TRUE(selectCursorPixel(kind, 15, 23));
        EXPECT_FALSE(selectCursorPixel(kind, 6, 15));
        EXPECT_FALSE(selectCursorPixel(kind, 24, 15));
        EXPECT_FALSE(selectCursorPixel(kind, 15, 6));
        EXPECT_FALSE(selectCursorPixel(kind, 15, 24));
        EXPECT_FALSE(selectCursorPixel(kind, 14, 14));
    }
    auto count = [](SelectCursorKind kind) {
        int n = 0;
        for (int y = 0; y < kSelectCursorSize; ++y) {
            for (int x = 0; x < kSelectCursorSize; ++x) {
                n += selectCursorPixel(kind, x, y) ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_EQ(count(SelectCursorKind::Plain), 33);
    EXPECT_EQ(count(SelectCursorKind::Add), 33 + 13);
    EXPECT_EQ(count(SelectCursorKind::Remove), 33 + 7);

    // Plus: 7 x 7 centred at (25, 26); minus: its horizontal bar only.
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Add, 22, 26));
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Add, 28, 26));
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Add, 25, 23));
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Add, 25, 29));
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Remove, 22, 26));
    EXPECT_TRUE(selectCursorPixel(SelectCursorKind::Remove, 28, 26));
    EXPECT_FALSE(selectCursorPixel(SelectCursorKind::Remove, 25, 23));
    EXPECT_FALSE(selectCursorPixel(SelectCursorKind::Plain, 25, 26));

    // Nothing outside the image.
    EXPECT_FALSE(selectCursorPixel(SelectCursorKind::Add, -1, 15));
    EXPECT_FALSE(selectCursorPixel(SelectCursorKind::Add, 32, 26));
}

bool bitSet(const QBitmap& bitmap, int x, int y) {
    return qGray(bitmap.toImage().pixel(x, y)) < 128;  // color1 is black
}

TEST(SelectCursor, InvertingStyleIsABitmapWithAnEmptyMask) {
    const QCursor cursor = makeSelectCursor(SelectCursorKind::Add, CursorStyle::Inverting);
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(15, 15));
    const QBitmap bitmap = cursor.bitmap();
    const QBitmap mask = cursor.mask();
    ASSERT_EQ(bitmap.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            ASSERT_EQ(bitSet(bitmap, x, y), selectCursorPixel(SelectCursorKind::Add, x, y))
                << x << "," << y;
            ASSERT_FALSE(bitSet(mask, x, y)) << x << "," << y;
        }
    }
}

TEST(SelectCursor, OutlinedStyleIsBlackOnAWhiteBorder) {
    const QCursor cursor = makeSelectCursor(SelectCursorKind::Remove, CursorStyle::Outlined);
    EXPECT_EQ(cursor.hotSpot(), QPoint(15, 15));
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 15), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(25, 26), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(14, 14), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(6, 15), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(25, 25), qRgb(255, 255, 255));
    EXPECT_EQ(qAlpha(image.pixel(5, 15)), 0);
    EXPECT_EQ(qAlpha(image.pixel(12, 12)), 0);
    EXPECT_EQ(qAlpha(image.pixel(25, 24)), 0);  // no vertical bar on the minus sign
}

TEST(SelectCursor, OnlyWindowsGetsTheInvertingStyle) {
    EXPECT_EQ(cursorStyleForPlatform(QStringLiteral("windows")), CursorStyle::Inverting);
    EXPECT_EQ(cursorStyleForPlatform(QStringLiteral("xcb")), CursorStyle::Outlined);
    EXPECT_EQ(cursorStyleForPlatform(QStringLiteral("wayland")), CursorStyle::Outlined);
    EXPECT_EQ(selectCursor().hotSpot(), QPoint(15, 15));
    EXPECT_EQ(selectAddCursor().hotSpot(), QPoint(15, 15));
    EXPECT_EQ(selectRemoveCursor().hotSpot(), QPoint(15, 15));
}

TEST(DesktopIcons, EverySizeLoadsAtItsSize) {
    for (int size : kDesktopIconSizes) {
        SCOPED_TRACE(size);
        const QImage program(programIconResource(size));
        const QImage document(modelDocumentIconResource(size));
        EXPECT_EQ(program.size(), QSize(size, size));
        EXPECT_EQ(document.size(), QSize(size, size));
    }
    EXPECT_TRUE(programIconResource(20).isEmpty());
    EXPECT_TRUE(modelDocumentIconResource(0).isEmpty());
    EXPECT_TRUE(QFile::exists(kProgramIconSvgResource));
    EXPECT_TRUE(QFile::exists(kModelDocumentIconSvgResource));

    EXPECT_EQ(programIcon().availableSizes().size(), static_cast<int>(kDesktopIconSizes.size()));
    EXPECT_FALSE(modelDocumentIcon().pixmap(48).isNull());

    // The program icon shows the standard background colour in its middle area.
    const QImage big(programIconResource(256));
    EXPECT_EQ(big.pixelColor(30, 128).rgb(), qRgb(238, 156, 0));
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    // Test discovery runs the binary outside ctest's environment, possibly without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    rek::initResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
