#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace rek {

// A number typed into a field or given on the command line: an unsigned decimal of digits only
// (surrounding spaces allowed), below 2^31. Anything else is not a number.
std::optional<std::int32_t> parseUnsignedField(QStringView text);

}  // namespace rek
