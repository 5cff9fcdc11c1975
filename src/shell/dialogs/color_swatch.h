#pragma once

#include <QFrame>
#include <QString>

#include "model/color_rgb.h"

namespace rek {

// A panel filled with one colour, optionally labelled in white, optionally clickable
// (the colour samples report clicks).
class ColorSwatch : public QFrame {
    Q_OBJECT

  public:
    explicit ColorSwatch(const QString& text = QString(), QWidget* parent = nullptr);

    void setColor(ColorRgb color);
    ColorRgb color() const { return color_; }
    QString text() const { return text_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QString text_;
    ColorRgb color_;
};

}  // namespace rek
