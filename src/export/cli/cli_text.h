#pragma once

// The texts rektool-export prints are translated like the editor's; the values they quote (file
// names, option values) are the bytes the user gave, whatever their encoding.

#include <QString>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rek::cli {

// `text` as UTF-8 with %1 to %9 replaced by the arguments, byte for byte. A placeholder without
// an argument stays as it is; an argument is never searched for placeholders itself.
std::string withArguments(const QString& text,
                          std::initializer_list<std::string_view> arguments = {});

}  // namespace rek::cli
