#include "artwork.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <algorithm>

namespace rek {

namespace {

QPixmap stripCell(const QString& resource, int imageIndex, int scale) {
    const QImage strip(resource);
    const QRect cell(imageIndex * kToolbarImageSize.width() * scale, 0,
                     kToolbarImageSize.width() * scale, kToolbarImageSize.height() * scale);
    if (strip.isNull() || !strip.rect().contains(cell)) {
        return {};
    }
    QPixmap pixmap = QPixmap::fromImage(strip.copy(cell));
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

bool inDesktopSizes(int size) {
    return std::find(kDesktopIconSizes.begin(), kDesktopIconSizes.end(), size) !=
           kDesktopIconSizes.end();
}

QIcon iconFromSizes(QString (*resourceFor)(int)) {
    QIcon icon;
    for (int size : kDesktopIconSizes) {
        icon.addFile(resourceFor(size), QSize(size, size));
    }
    return icon;
}

}  // namespace

QIcon toolbarIcon(int imageIndex) {
    if (imageIndex < 0 || imageIndex >= kToolbarImageCount) {
        return {};
    }
    QIcon icon;
    const QPixmap normal = stripCell(kToolbarStripResource, imageIndex, 1);
    const QPixmap doubled = stripCell(kToolbarStrip2xResource, imageIndex, 2);
    if (!normal.isNull()) {
        icon.addPixmap(normal);
    }
    if (!doubled.isNull()) {
        icon.addPixmap(doubled);
    }
    return icon;
}

bool selectCursorPixel(SelectCursorKind kind, int x, int y) {
    constexpr int c = kSelectCursorHotSpot;
    constexpr int arm = 8;  // 8 + 1 + 8 = 17 pixels
    if ((y == c && x >= c - arm && x <= c + arm) || (x == c && y >= c - arm && y <= c + arm)) {
        return true;
    }
    constexpr int signX = 25;
    constexpr int signY = 26;
    constexpr int half = 3;  // 3 + 1 + 3 = 7 pixels
    const bool horizontal = y == signY && x >= signX - half && x <= signX + half;
    const bool vertical = x == signX && y >= signY - half && y <= signY + half;
    switch (kind) {
        case SelectCursorKind::Plain:
            return false;
        case SelectCursorKind::Add:
            return horizontal || vertical;
        case SelectCursorKind::Remove:
            return horizontal;
    }
    return false;
}

CursorStyle cursorStyleForPlatform(const QString& platformName) {
    return platformName == QLatin1String("windows") ? CursorStyle::Inverting
                                                    : CursorStyle::Outlined;
}

QCursor makeSelectCursor(SelectCursorKind kind, CursorStyle style) {
    constexpr int n = kSelectCursorSize;
    if (style == CursorStyle::Inverting) {
        // Bitmap 1 with mask 0 inverts the screen; everything else is bitmap 0, mask 0:
        // transparent. QBitmap reads black as 1 and white as 0, whatever the index order, so
        // the colour table is set explicitly.
        auto blankBitmap = [] {
            QImage image(n, n, QImage::Format_Mono);
            image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
            image.fill(0);
            return image;
        };
        QImage bits = blankBitmap();
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                if (selectCursorPixel(kind, x, y)) {
                    bits.setPixel(x, y, 1);
                }
            }
        }
        return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(blankBitmap()),
                       kSelectCursorHotSpot, kSelectCursorHotSpot);
    }
    QImage image(n, n, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    auto inShape = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < n && y < n && selectCursorPixel(kind, x, y);
    };
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            if (inShape(x, y)) {
                image.setPixel(x, y, qRgb(0, 0, 0));
                continue;
            }
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (inShape(x + dx, y + dy)) {
                        image.setPixel(x, y, qRgb(255, 255, 255));
                    }
                }
            }
        }
    }
    return QCursor(QPixmap::fromImage(image), kSelectCursorHotSpot, kSelectCursorHotSpot);
}

QCursor selectCursor() {
    return makeSelectCursor(SelectCursorKind::Plain,
                            cursorStyleForPlatform(QGuiApplication::platformName()));
}

QCursor selectAddCursor() {
    return makeSelectCursor(SelectCursorKind::Add,
                            cursorStyleForPlatform(QGuiApplication::platformName()));
}

QCursor selectRemoveCursor() {
    return makeSelectCursor(SelectCursorKind::Remove,
                            cursorStyleForPlatform(QGuiApplication::platformName()));
}

QString programIconResource(int size) {
    return inDesktopSizes(size) ? QStringLiteral(":/rektool/icons/rektool-%1.png").arg(size)
                                : QString();
}

QString modelDocumentIconResource(int size) {
    return inDesktopSizes(size) ? QStringLiteral(":/rektool/icons/rektool-model-%1.png").arg(size)
                                : QString();
}

QIcon programIcon() {
    return iconFromSizes(programIconResource);
}

QIcon modelDocumentIcon() {
    return iconFromSizes(modelDocumentIconResource);
}

}  // namespace rek
