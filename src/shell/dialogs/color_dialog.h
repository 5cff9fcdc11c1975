#pragma once

#include <QDialog>

#include "model/color_rgb.h"
#include "model/model.h"
#include "render/editor_state.h"

class QLineEdit;
class QSlider;

namespace rek {

class ColorSwatch;

// Picks one colour for a target of the model from 27 samples or with red, green and blue
// sliders and number fields. Every change is applied to the model at once, so the canvas and
// the properties dialog follow it; Cancel puts back the colour the target had at the opening.
class ColorDialog : public QDialog {
    Q_OBJECT

  public:
    ColorDialog(EditorState& state, ColorTarget target, QWidget* parent = nullptr);

    ColorRgb workingColor() const { return working_; }
    ColorRgb openingColor() const { return opening_; }

    void reject() override;

  signals:
    void workingColorChanged(ColorRgb color);

  private:
    enum Channel { Red, Green, Blue };

    void onSliderMoved(Channel channel, int value);
    void onEditChanged(Channel channel, const QString& text);
    void chooseSample(int index);
    void showWorkingColor();   // sliders and edits follow the working colour
    void applyWorkingColor();  // preview, canvas and listeners follow it

    EditorState& state_;
    ColorTarget target_;
    ColorRgb opening_;
    ColorRgb working_;
    QSlider* sliders_[3] = {};
    QLineEdit* edits_[3] = {};
    ColorSwatch* preview_ = nullptr;
};

}  // namespace rek
