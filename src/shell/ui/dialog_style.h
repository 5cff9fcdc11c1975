#pragma once

// The look every dialog of the program shares, the export dialogs and the shell's alike: the
// dialog font, dialog-template units and the plain message box.

#include <QFont>
#include <QRect>
#include <QString>

#include "model/user_message.h"

class QWidget;

namespace rek {

// The face every dialog uses: a proportional Japanese Gothic at 9 points.
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

// A modal message owned by `owner`: the program title as caption, an OK button, and no icon
// unless the error icon is asked for.
void showDialogMessage(QWidget* owner, const QString& text, MessageIcon icon = MessageIcon::None);

}  // namespace rek
