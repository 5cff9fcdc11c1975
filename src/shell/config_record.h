#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/model_properties.h"

namespace rek {

inline constexpr std::size_t kConfigRecordSize = 52;
inline constexpr std::int32_t kConfigVersion = 3;

// The whole content of Config.dat: window position, the replay-on-open setting and the
// properties of the model that was open at the last exit.
struct ConfigRecord {
    std::int32_t version = kConfigVersion;
    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    std::int32_t openInVtrMode = 1;
    std::int32_t wobbleAmount = 3;
    std::int32_t vtrSpeed = 40;
    std::int32_t shadowMode = 0;
    std::int32_t modelWidth = 800;
    std::int32_t modelHeight = 600;
    ColorRgb lineColor{0, 0, 0};
    ColorRgb shadowColor{138, 72, 0};
    ColorRgb backgroundColor{238, 156, 0};
    std::array<std::uint8_t, 3> padding{};  // written back as read
    std::int32_t lineWidth = 4;

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

// Decodes the bytes of Config.dat. A short file is read as far as it goes (missing bytes are
// zero) and the version migrations apply; an empty file counts as version 0.
ConfigRecord decodeConfigRecord(const std::vector<std::uint8_t>& bytes);
std::array<std::uint8_t, kConfigRecordSize> encodeConfigRecord(const ConfigRecord& record);

// Model properties from the record, brought into the ranges the program can run with.
ModelProperties propertiesFromConfig(const ConfigRecord& record);
void storePropertiesInConfig(ConfigRecord& record, const ModelProperties& properties);

// Reads the file; std::nullopt when it does not exist or cannot be opened (defaults apply).
std::optional<ConfigRecord> readConfigFile(const std::string& path);
// Writes all 52 bytes atomically; false when the file cannot be written.
bool writeConfigFile(const std::string& path, const ConfigRecord& record);

}  // namespace rek
