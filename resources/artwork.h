#pragma once

#include <QCursor>
#include <QIcon>
#include <QSize>
#include <QString>

#include <array>

// The program's drawn artwork: toolbar images, range-select cursors and the desktop icons.
// Everything except the cursors comes from the compiled-in resources, so rek::initResources()
// must have run first.
namespace rek {

// The toolbar strip: kToolbarImageCount images of kToolbarImageSize pixels (twice that in the
// high-resolution strip), indexed by the image column of the command table.
inline constexpr int kToolbarImageCount = 29;
inline constexpr QSize kToolbarImageSize{16, 15};

inline const QString kToolbarStripResource = QStringLiteral(":/rektool/toolbar.png");
inline const QString kToolbarStrip2xResource = QStringLiteral(":/rektool/toolbar@2x.png");

// Image `imageIndex` of the strip at both resolutions; a null icon for an index outside
// 0 .. kToolbarImageCount - 1.
QIcon toolbarIcon(int imageIndex);

// The three cursors of the range-select tool, 32 x 32 with the hot spot at (15, 15).
enum class SelectCursorKind { Plain, Add, Remove };

// Inverting: a monochrome bitmap/mask pair whose pixels invert the screen (bitmap 1, mask 0).
// Outlined: a black shape with a one-pixel white border, visible on any background.
enum class CursorStyle { Inverting, Outlined };

inline constexpr int kSelectCursorSize = 32;
inline constexpr int kSelectCursorHotSpot = 15;

// Whether pixel (x, y) of the cursor image belongs to the shape: the 17-pixel cross through the
// hot spot, plus the 7 x 7 plus sign or 7-pixel minus sign centred at (25, 26).
bool selectCursorPixel(SelectCursorKind kind, int x, int y);

// Only the Windows platform plugin draws inverting cursor pixels; X11 core cursors, Wayland and
// the rest have no invert mode and would leave those pixels transparent.
CursorStyle cursorStyleForPlatform(const QString& platformName);

QCursor makeSelectCursor(SelectCursorKind kind, CursorStyle style);

// The cursors in the style of the running platform.
QCursor selectCursor();
QCursor selectAddCursor();
QCursor selectRemoveCursor();

// Sizes of the raster desktop icons; the SVG versions are for scalable icon themes.
inline constexpr std::array<int, 6> kDesktopIconSizes = {16, 32, 48, 64, 128, 256};

QIcon programIcon();
QIcon modelDocumentIcon();

// Resource paths of the desktop icons, for the file-association code that installs them.
// An empty string for a size not in kDesktopIconSizes.
QString programIconResource(int size);
QString modelDocumentIconResource(int size);
inline const QString kProgramIconSvgResource = QStringLiteral(":/rektool/icons/rektool.svg");
inline const QString kModelDocumentIconSvgResource =
    QStringLiteral(":/rektool/icons/rektool-model.svg");

}  // namespace rek
