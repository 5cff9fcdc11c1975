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

inline constexpr ModelProperties kStandardProperties{};

// The whole content of Config.dat: window position, the replay-on-open setting and the
// properties of the model that was open at the last exit (the standard ones to begin with).
struct ConfigRecord {
    std::int32_t version = kConfigVersion;
    std::int32_t windowLeft = 0;
    std::int32_t windowTop = 0;
    std::int32_t openInVtrMode = 1;
    std::int32_t wobbleAmount = kStandardProperties.wobbleAmount;
    std::int32_t vtrSpeed = kStandardProperties.vtrSpeed;
    std::int32_t shadowMode = kStandardProperties.shadowMode;
    std::int32_t modelWidth = kStandardProperties.width;
    std::int32_t modelHeight = kStandardProperties.height;
    ColorRgb lineColor = kStandardProperties.lineColor;
    ColorRgb shadowColor = kStandardProperties.shadowColor;
    ColorRgb backgroundColor = kStandardProperties.backgroundColor;
    std::array<std::uint8_t, 3> padding{};  // written back as read
    std::int32_t lineWidth = kStandardProperties.lineWidth;

    friend bool operator==(const ConfigRecord&, const ConfigRecord&) = default;
};

// Decodes the bytes of Config.dat. A short file is read as far as it goes (missing bytes are
// zero) and the version migrations apply; an empty file counts as version 0.
ConfigRecord decodeConfigRecord(const std::vector<std::uint8_t>& bytes);
std::array<std::uint8_t, kConfigRecordSize> encodeConfigRecord(const ConfigRecord& record);

// Model properties from the record, brought into the ranges the program can run with.
ModelProperties propertiesFromConfig(const ConfigRecord& record);
void storePropertiesInConfig(ConfigRecord& record, const ModelProperties& properties);

// Reads the file; std::nullopt when it does not exist, cannot be opened or is no regular file
// (defaults apply). A pipe or device of that name is not waited on.
std::optional<ConfigRecord> readConfigFile(const std::string& path);
// Writes all 52 bytes through AtomicFile (a pipe or device of that name is left alone); false
// when the file cannot be written.
bool writeConfigFile(const std::string& path, const ConfigRecord& record);

}  // namespace rek
