// The Config.dat reader on arbitrary bytes: decoding never fails, the record it gives survives
// being written and read again, the file reader agrees with the decoder, and the properties
// taken from the record are ones the program can run with.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scratch_file.h"
#include "shell/config_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using rek::fuzz::finding;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const rek::ConfigRecord record = rek::decodeConfigRecord(bytes);

    const auto encoded = rek::encodeConfigRecord(record);
    if (rek::decodeConfigRecord({encoded.begin(), encoded.end()}) != record)
        finding("a record reads back differently");

    const std::string path = rek::fuzz::writeScratchFile("Config.dat", data, size);
    const std::optional<rek::ConfigRecord> fromFile = rek::readConfigFile(path);
    if (!fromFile || *fromFile != record)
        finding("the file reader and the decoder disagree");

    const rek::ModelProperties properties = rek::propertiesFromConfig(record);
    if (rek::sanitizeStoredProperties(properties) != properties || properties.width == 0 ||
        properties.height == 0)
        finding("properties from the record outside their safe ranges");
    return 0;
}
