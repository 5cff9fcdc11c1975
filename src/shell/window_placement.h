#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

namespace rek {

// Where the window opens: at the stored position when the user can reach it there (a strip of
// its top edge, where the title bar is, lies on some screen), else centred on the primary
// screen. The stored values come from Config.dat and may be anything.
QPoint placeWindow(std::int32_t storedLeft, std::int32_t storedTop, QSize size,
                   const QList<QRect>& screens, const QRect& primary);

}  // namespace rek
