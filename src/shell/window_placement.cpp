#include "shell/window_placement.h"

#include <algorithm>

namespace rek {
namespace {

// How much of the title bar must lie on a screen for the user to grab it.
constexpr std::int64_t kGripWidth = 100;
constexpr std::int64_t kGripHeight = 30;

// In 64 bits: a stored position near the limits of int must not overflow when the size is
// added.
bool grippable(std::int64_t left, std::int64_t top, QSize size, const QRect& screen) {
    const std::int64_t right = left + std::max(size.width(), 1);
    const std::int64_t screenLeft = screen.left();
    const std::int64_t screenTop = screen.top();
    const std::int64_t screenRight = screenLeft + screen.width();
    const std::int64_t screenBottom = screenTop + screen.height();
    const std::int64_t overlap = std::min(right, screenRight) - std::max(left, screenLeft);
    const std::int64_t gripWidth = std::min<std::int64_t>(kGripWidth, std::max(size.width(), 1));
    return overlap >= gripWidth && top >= screenTop && top + kGripHeight <= screenBottom;
}

}  // namespace

QPoint placeWindow(std::int32_t storedLeft, std::int32_t storedTop, QSize size,
                   const QList<QRect>& screens, const QRect& primary) {
    if (screens.isEmpty())
        return QPoint(storedLeft, storedTop);
    for (const QRect& screen : screens) {
        if (grippable(storedLeft, storedTop, size, screen))
            return QPoint(storedLeft, storedTop);
    }
    // Centred, but never with the title bar above or left of the screen.
    const int left = primary.left() + std::max(0, (primary.width() - size.width()) / 2);
    const int top = primary.top() + std::max(0, (primary.height() - size.height()) / 2);
    return QPoint(left, top);
}

}  // namespace rek
