#include "shell/config_record.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace rek {
namespace {

std::int32_t readInt(const std::uint8_t* p) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(value);
}

void writeInt(std::uint8_t* p, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(bits);
    p[1] = static_cast<std::uint8_t>(bits >> 8);
    p[2] = static_cast<std::uint8_t>(bits >> 16);
    p[3] = static_cast<std::uint8_t>(bits >> 24);
}

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
    record.version = readInt(p + 0);
    record.windowLeft = readInt(p + 4);
    record.windowTop = readInt(p + 8);
    record.openInVtrMode = readInt(p + 12);
    record.wobbleAmount = readInt(p + 16);
    record.vtrSpeed = readInt(p + 20);
    record.shadowMode = readInt(p + 24);
    record.modelWidth = readInt(p + 28);
    record.modelHeight = readInt(p + 32);
    record.lineColor = readColor(p + 36);
    record.shadowColor = readColor(p + 39);
    record.backgroundColor = readColor(p + 42);
    std::memcpy(record.padding.data(), p + 45, record.padding.size());
    record.lineWidth = readInt(p + 48);

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
    writeInt(p + 0, record.version);
    writeInt(p + 4, record.windowLeft);
    writeInt(p + 8, record.windowTop);
    writeInt(p + 12, record.openInVtrMode);
    writeInt(p + 16, record.wobbleAmount);
    writeInt(p + 20, record.vtrSpeed);
    writeInt(p + 24, record.shadowMode);
    writeInt(p + 28, record.modelWidth);
    writeInt(p + 32, record.modelHeight);
    writeColor(p + 36, record.lineColor);
    writeColor(p + 39, record.shadowColor);
    writeColor(p + 42, record.backgroundColor);
    std::memcpy(p + 45, record.padding.data(), record.padding.size());
    writeInt(p + 48, record.lineWidth);
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
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(kConfigRecordSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return decodeConfigRecord(bytes);
}

bool writeConfigFile(const std::string& path, const ConfigRecord& record) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), error);

    const fs::path temporary = target.string() + ".tmp";
    const auto raw = encodeConfigRecord(record);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(raw.data()),
                  static_cast<std::streamsize>(raw.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace rek
