#include "shell/dialogs/color_swatch.h"

#include <QMouseEvent>
#include <QPainter>

namespace rek {

ColorSwatch::ColorSwatch(const QString& text, QWidget* parent) : QFrame(parent), text_(text) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorSwatch::setColor(ColorRgb color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(color_.red, color_.green, color_.blue));
        if (!text_.isEmpty()) {
            painter.setPen(Qt::white);
            painter.setFont(font());
            painter.drawText(contentsRect(), Qt::AlignCenter, text_);
        }
    }
    // The sunken border, when the frame has one, goes over the fill.
    QFrame::paintEvent(event);
}

void ColorSwatch::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QFrame::mousePressEvent(event);
}

}  // namespace rek
