#include "shell/config_record.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "model/atomic_file.h"
#include "model/byte_order.h"
#include "model/regular_file.h"

namespace rek {
namespace {

ColorRgb readColor(const std::uint8_t* p) {
    return ColorRgb{p[0], p[1], p[2]};
}

void writeColor(std::uint8_t* p, ColorRgb color) {
    p[0] = color.red;
    p[1] = color.green;
    p[2] = color.blue;
}

}  // namespace

ConfigRecord decodeConfigRecord(const std::vector<std::uint8_t>& bytes) {
    std::array<std::uint8_t, kConfigRecordSize> raw{};
    if (!bytes.empty())
        std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
    const std::uint8_t* p = raw.data();

    ConfigRecord record;
    record.version = getInt32(p + 0);
    record.windowLeft = getInt32(p + 4);
    record.windowTop = getInt32(p + 8);
    record.openInVtrMode = getInt32(p + 12);
    record.wobbleAmount = getInt32(p + 16);
    record.vtrSpeed = getInt32(p + 20);
    record.shadowMode = getInt32(p + 24);
    record.modelWidth = getInt32(p + 28);
    record.modelHeight = getInt32(p + 32);
    record.lineColor = readColor(p + 36);
    record.shadowColor = readColor(p + 39);
    record.backgroundColor = readColor(p + 42);
    std::memcpy(record.padding.data(), p + 45, record.padding.size());
    record.lineWidth = getInt32(p + 48);

    if (record.version <= 1) {
        // Before version 2 the model part of the record meant something else.
        const ConfigRecord defaults;
        record.wobbleAmount = defaults.wobbleAmount;
        record.vtrSpeed = defaults.vtrSpeed;
        record.shadowMode = defaults.shadowMode;
        record.modelWidth = defaults.modelWidth;
        record.modelHeight = defaults.modelHeight;
        record.lineColor = defaults.lineColor;
        record.shadowColor = defaults.shadowColor;
        record.backgroundColor = defaults.backgroundColor;
    }
    if (record.version <= 2) {
        record.lineWidth = ConfigRecord{}.lineWidth;
    }
    return record;
}

std::array<std::uint8_t, kConfigRecordSize> encodeConfigRecord(const ConfigRecord& record) {
    std::array<std::uint8_t, kConfigRecordSize> raw{};
    std::uint8_t* p = raw.data();
    putInt32(p + 0, record.version);
    putInt32(p + 4, record.windowLeft);
    putInt32(p + 8, record.windowTop);
    putInt32(p + 12, record.openInVtrMode);
    putInt32(p + 16, record.wobbleAmount);
    putInt32(p + 20, record.vtrSpeed);
    putInt32(p + 24, record.shadowMode);
    putInt32(p + 28, record.modelWidth);
    putInt32(p + 32, record.modelHeight);
    writeColor(p + 36, record.lineColor);
    writeColor(p + 39, record.shadowColor);
    writeColor(p + 42, record.backgroundColor);
    std::memcpy(p + 45, record.padding.data(), record.padding.size());
    putInt32(p + 48, record.lineWidth);
    return raw;
}

ModelProperties propertiesFromConfig(const ConfigRecord& record) {
    ModelProperties properties;
    properties.wobbleAmount = record.wobbleAmount;
    properties.vtrSpeed = record.vtrSpeed;
    properties.shadowMode = record.shadowMode;
    properties.width = record.modelWidth;
    properties.height = record.modelHeight;
    properties.lineColor = record.lineColor;
    properties.shadowColor = record.shadowColor;
    properties.backgroundColor = record.backgroundColor;
    properties.lineWidth = record.lineWidth;
    properties = sanitizeStoredProperties(properties);
    // Zero means "keep the size the canvas was created with", which is the largest.
    if (properties.width == 0)
        properties.width = kMaxCanvasWidth;
    if (properties.height == 0)
        properties.height = kMaxCanvasHeight;
    return properties;
}

void storePropertiesInConfig(ConfigRecord& record, const ModelProperties& properties) {
    record.wobbleAmount = properties.wobbleAmount;
    record.vtrSpeed = properties.vtrSpeed;
    record.shadowMode = properties.shadowMode;
    record.modelWidth = properties.width;
    record.modelHeight = properties.height;
    record.lineColor = properties.lineColor;
    record.shadowColor = properties.shadowColor;
    record.backgroundColor = properties.backgroundColor;
    record.lineWidth = properties.lineWidth;
}

std::optional<ConfigRecord> readConfigFile(const std::string& path) {
    RegularFileReader in;
    if (!in.open(path))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(kConfigRecordSize);
    bytes.resize(in.read(bytes.data(), bytes.size()));
    return decodeConfigRecord(bytes);
}

bool writeConfigFile(const std::string& path, const ConfigRecord& record) {
    std::error_code error;
    const std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), error);
    const auto raw = encodeConfigRecord(record);
    return writeFileAtomically(path, raw);
}

}  // namespace rek
