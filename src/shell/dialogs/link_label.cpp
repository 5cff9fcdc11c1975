#include "shell/dialogs/link_label.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QMouseEvent>

namespace rek {

namespace {

// The face of the links: 12 pixels high, underlined, fixed pitch.
QFont linkFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("VL Gothic")});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    font.setUnderline(true);
    return font;
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, const QUrl& target, QWidget* parent)
    : QLabel(text, parent), target_(target) {
    setTextFormat(Qt::PlainText);
    setFont(linkFont());
    setMargin(0);
    setIndent(0);
    setContentsMargins(0, 0, 0, 0);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, QColor(128, 0, 255));
    setPalette(colors);
    setCursor(Qt::PointingHandCursor);
    // Keep the height the layout gives; only the width follows the text.
    resize(QFontMetrics(font()).horizontalAdvance(text), height());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        // Like a shell "open": nothing reports whether a handler took the address.
        QDesktopServices::openUrl(target_);
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace rek
