#pragma once

#include <QDialog>

#include "model/color_rgb.h"
#include "model/model_properties.h"

class QLineEdit;
class QSlider;

namespace rek {

class ColorSwatch;

// The three colours of a model.
enum class ColorTarget { Line, Shadow, Background };

ColorRgb& colorOf(ModelProperties& properties, ColorTarget target);

// Picks one colour from 27 samples or with red, green and blue sliders and number fields.
// Every change is reported at once, so the canvas and the properties dialog follow it; Cancel
// puts back the colour of the opening (and reports it).
class ColorDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ColorDialog(ColorRgb opening, QWidget* parent = nullptr);

    ColorRgb workingColor() const { return working_; }

    void reject() override;

  signals:
    void workingColorChanged(ColorRgb color);

  private:
    enum Channel { Red, Green, Blue };

    void onSliderMoved(Channel channel, int value);
    void onEditChanged(Channel channel, const QString& text);
    void chooseSample(int index);
    void showWorkingColor();   // sliders and edits follow the working colour
    void applyWorkingColor();  // the preview and the listeners follow it

    ColorRgb opening_;
    ColorRgb working_;
    QSlider* sliders_[3] = {};
    QLineEdit* edits_[3] = {};
    ColorSwatch* preview_ = nullptr;
};

}  // namespace rek
