#pragma once

#include <QString>

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

}  // namespace rek
