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

TEST(ToolbarStrip, BothResolutionsHaveOneDrawnCellPerUsedImage) {
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage strip(scale == 1 ? kToolbarStripResource : kToolbarStrip2xResource);
        ASSERT_FALSE(strip.isNull());
        const QSize cell = kToolbarImageSize * scale;
        EXPECT_EQ(strip.size(), QSize(cell.width() * kToolbarImageCount, cell.height()));
        EXPECT_TRUE(strip.hasAlphaChannel());
        for (int i = 0; i < kToolbarImageCount; ++i) {
            const QImage image = strip.copy(i * cell.width(), 0, cell.width(), cell.height());
            bool drawn = false;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    drawn = drawn || qAlpha(image.pixel(x, y)) > 0;
            }
            EXPECT_EQ(drawn, i != 26 && i != 27) << "image " << i;  // no button uses 26 and 27
        }
    }
}

TEST(ToolbarStrip, IconsCarryBothResolutionsAndRejectBadIndices) {
    const QList<QSize> sizes = toolbarIcon(0).availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 15)) && sizes.contains(QSize(32, 30)));

    // The last image (BMP) comes from the right end of the strip, not from a clipped copy.
    const QImage last = toolbarIcon(kToolbarImageCount - 1).pixmap(QSize(16, 15), 1.0).toImage();
    const QImage strip(kToolbarStripResource);
    EXPECT_EQ(last.convertToFormat(QImage::Format_ARGB32),
              strip.copy(QRect(16 * (kToolbarImageCount - 1), 0, 16, 15))
                  .convertToFormat(QImage::Format_ARGB32));

    EXPECT_TRUE(toolbarIcon(-1).isNull());
    EXPECT_TRUE(toolbarIcon(kToolbarImageCount).isNull());
}

// The shape: the 17-pixel cross through the hot spot, and a 7 x 7 plus (or only its bar, the
// minus) centred at (25, 26). The inverting style draws it as a bitmap with an empty mask; the
// outlined one black on a white border.
TEST(SelectCursor, ShapeAndBothStyles) {
    auto count = [](SelectCursorKind kind) {
        int n = 0;
        for (int y = -1; y <= kSelectCursorSize; ++y) {
            for (int x = -1; x <= kSelectCursorSize; ++x)
                n += selectCursorPixel(kind, x, y) ? 1 : 0;
        }
        return n;
    };
    EXPECT_EQ(count(SelectCursorKind::Plain), 33);
    EXPECT_EQ(count(SelectCursorKind::Add), 33 + 13);
    EXPECT_EQ(count(SelectCursorKind::Remove), 33 + 7);

    const QCursor inverting = makeSelectCursor(SelectCursorKind::Add, CursorStyle::Inverting);
    EXPECT_EQ(inverting.shape(), Qt::BitmapCursor);
    EXPECT_EQ(inverting.hotSpot(), QPoint(15, 15));
    const QImage bitmap = inverting.bitmap().toImage();
    const QImage mask = inverting.mask().toImage();
    ASSERT_EQ(bitmap.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            // color1, a set bit, is black.
            ASSERT_EQ(qGray(bitmap.pixel(x, y)) < 128,
                      selectCursorPixel(SelectCursorKind::Add, x, y))
                << x << "," << y;
            ASSERT_GE(qGray(mask.pixel(x, y)), 128) << x << "," << y;
        }
    }

    const QCursor outlined = makeSelectCursor(SelectCursorKind::Remove, CursorStyle::Outlined);
    EXPECT_EQ(outlined.hotSpot(), QPoint(15, 15));
    const QImage image = outlined.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    for (auto [x, y] : {std::pair{15, 15}, {7, 15}, {15, 23}, {22, 26}, {25, 26}})
        EXPECT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
    for (auto [x, y] : {std::pair{14, 14}, {6, 15}, {25, 25}})
        EXPECT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    for (auto [x, y] : {std::pair{5, 15}, {12, 12}, {25, 24}})
        EXPECT_EQ(qAlpha(image.pixel(x, y)), 0) << x << "," << y;
}

TEST(DesktopIcons, EverySizeLoadsAtItsSize) {
    for (int size : kDesktopIconSizes) {
        SCOPED_TRACE(size);
        const QImage program(programIconResource(size));
        const QImage document(modelDocumentIconResource(size));
        EXPECT_EQ(program.size(), QSize(size, size));
        EXPECT_EQ(document.size(), QSize(size, size));
    }
    EXPECT_TRUE(QFile::exists(kProgramIconSvgResource) &&
                QFile::exists(kModelDocumentIconSvgResource));

    // The program icon shows the standard background colour in its middle area.
    const QImage big(programIconResource(256));
    EXPECT_EQ(big.pixelColor(30, 128).rgb(), qRgb(238, 156, 0));
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    // Test discovery runs the binary outside ctest's environment, possibly without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    rek::initResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
