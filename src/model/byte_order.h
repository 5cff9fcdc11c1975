#pragma once

#include <cstdint>

namespace rek {

// Signed 32-bit values as the model file and the undo snapshots store them: little-endian.
inline void putInt32(std::uint8_t* out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    out[0] = static_cast<std::uint8_t>(bits);
    out[1] = static_cast<std::uint8_t>(bits >> 8);
    out[2] = static_cast<std::uint8_t>(bits >> 16);
    out[3] = static_cast<std::uint8_t>(bits >> 24);
}

inline std::int32_t getInt32(const std::uint8_t* in) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(in[0]) | (static_cast<std::uint32_t>(in[1]) << 8) |
        (static_cast<std::uint32_t>(in[2]) << 16) | (static_cast<std::uint32_t>(in[3]) << 24);
    return static_cast<std::int32_t>(bits);
}

}  // namespace rek
