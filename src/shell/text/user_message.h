#pragma once

#include <QString>

namespace rek {

enum class MessageIcon { None, Warning, Error };

// A text for a message box, with its icon: failures to get memory carry the error icon, every
// other message none.
struct UserMessage {
    QString text;
    MessageIcon icon = MessageIcon::None;

    bool empty() const { return text.isEmpty(); }
};

}  // namespace rek
