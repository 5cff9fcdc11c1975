#include "shell/text/number_field.h"

namespace rek {

std::optional<std::int32_t> parseUnsignedField(QStringView text) {
    const QStringView digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > 2147483647)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace rek
