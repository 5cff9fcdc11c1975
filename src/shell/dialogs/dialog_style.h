#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace rek {

// The face every dialog uses: a proportional Japanese Gothic at 9 points.
QFont dialogFont();

// The face of the About box links: 12 pixels high, underlined, fixed pitch.
QFont linkFont();

// Converts dialog-template units to pixels for a font, the way dialog layouts scale with their
// font: a horizontal unit is a quarter of the average character width, a vertical unit an
// eighth of the character height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;

  private:
    int baseWidth_;
    int baseHeight_;
};

// A modal message owned by `owner`: the program title as caption, an OK button and no icon.
void showDialogMessage(QWidget* owner, const QString& text);

}  // namespace rek
