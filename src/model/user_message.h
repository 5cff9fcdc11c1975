#pragma once

#include <string>

namespace rek {

enum class MessageIcon { None, Error };

// A message the core wants the user to see; the shell shows it in a message box.
struct UserMessage {
    std::string text;
    MessageIcon icon = MessageIcon::None;

    bool empty() const { return text.empty(); }
};

}  // namespace rek
