#pragma once

#include <QDialog>

#include "canvas/editor.h"
#include "model/model_properties.h"
#include "shell/dialogs/color_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace rek {

class ColorSwatch;

// Edits the model's properties. Everything but the canvas size is shown by the editor as the
// user changes it, so the animation behind the dialog shows it at once; Cancel restores the
// values of the opening. OK validates and applies the size, records a history snapshot (not
// for a new model) and marks the model modified. Either way a VTR replay ends.
class PropertiesDialog : public QDialog {
    Q_OBJECT

  public:
    enum class Mode {
        Normal,
        NewModel  // asked by New: own caption, no Cancel, no history snapshot
    };

    PropertiesDialog(Editor& editor, Mode mode, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

  private:
    void onLineWidthSlider(int position);
    void onVtrSpeedSlider(int position);
    void onShadowHidden(bool hidden);
    void adjustShadowColor();
    void applyStandardColors();
    void applyAllStandard();
    void changeColor(ColorTarget target);
    void refreshSwatches();
    // Shows the working properties on the canvas behind the dialog.
    void preview();

    Editor& editor_;
    Mode mode_;
    ModelProperties opening_;
    ModelProperties working_;

    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QSlider* lineWidthSlider_ = nullptr;
    QSlider* wobbleSlider_ = nullptr;
    QSlider* vtrSpeedSlider_ = nullptr;
    ColorSwatch* lineSwatch_ = nullptr;
    ColorSwatch* shadowSwatch_ = nullptr;
    ColorSwatch* backgroundSwatch_ = nullptr;
    QPushButton* shadowChangeButton_ = nullptr;
    QCheckBox* hideShadowBox_ = nullptr;
    QPushButton* autoShadowButton_ = nullptr;
};

}  // namespace rek
