#pragma once

#include <QString>
#include <QStringList>

#include "shell/text/user_message.h"

class QWidget;

namespace rek {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// The program's one message box: modal, owned by `owner` (none: a box of its own), captioned
// with the program title. The answer is Cancel when the box is closed without a button.
MessageAnswer showMessageBox(QWidget* owner, const QString& text,
                             MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::None,
                             MessageAnswer defaultAnswer = MessageAnswer::Ok);

// A message with OK, and the icon the message carries.
void showMessage(QWidget* owner, const UserMessage& message);

// A question answered with buttons of its own (their texts from the catalogue), in the order
// given. Returns the index of the button pressed; Escape or closing the box presses the last.
int showChoiceBox(QWidget* owner, const QString& text, const QStringList& buttons,
                  int defaultIndex = 0);

}  // namespace rek
