#pragma once

// The look every dialog of the program shares: the font and dialog-template units.

#include <QFont>
#include <QRect>

namespace rek {

// The program's face, for the application and every dialog: a proportional Japanese Gothic
// at 9 points.
QFont dialogFont();

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

}  // namespace rek
