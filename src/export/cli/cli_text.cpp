#include "export/cli/cli_text.h"

namespace rek::cli {

std::string withArguments(const QString& text, std::initializer_list<std::string_view> arguments) {
    const std::string pattern = text.toStdString();
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                result += *(arguments.begin() + index);
                ++i;
                continue;
            }
        }
        result += pattern[i];
    }
    return result;
}

}  // namespace rek::cli
