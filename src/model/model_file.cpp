#include "model/model_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "model/atomic_file.h"
#include "model/byte_order.h"
#include "model/regular_file.h"

namespace rek {

namespace {

constexpr std::size_t kMagicSize = 10;
constexpr char kMagic[5] = {'R', 'E', 'K', '2', '\0'};
constexpr std::size_t kLegacyHeaderSize = 4;
// Where the vertices begin in each version of the current format.
constexpr std::size_t kVertexOffsetByVersion[] = {18, 30, 34, 47, 51};
// Vertices are read in blocks of this many.
constexpr std::size_t kBlockVertices = 1024;

ColorRgb getColor(const std::uint8_t* in) {
    return ColorRgb{in[0], in[1], in[2]};
}

void putColor(std::uint8_t* out, ColorRgb color) {
    out[0] = color.red;
    out[1] = color.green;
    out[2] = color.blue;
}

// Reads `count` vertex images; false when the file ends early or cannot be read.
bool readVertices(RegularFileReader& in, std::int64_t count, VertexList& out) {
    std::array<std::uint8_t, kBlockVertices * kVertexImageSize> block{};
    std::int64_t left = count;
    while (left > 0) {
        const auto now = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(kBlockVertices)));
        if (in.read(block.data(), now * kVertexImageSize) != now * kVertexImageSize)
            return false;
        for (std::size_t i = 0; i < now; ++i) {
            out.push_back(decodeVertexImage(block.data() + i * kVertexImageSize));
        }
        left -= static_cast<std::int64_t>(now);
    }
    return true;
}

// Parses the file behind `in` (of `fileSize` bytes).
ModelFileRead parseFile(RegularFileReader& in, bool legacy) {
    const std::uint64_t fileSize = in.size();
    std::array<std::uint8_t, kModelFileHeaderSize> header{};
    auto readHeader = [&](std::size_t from, std::size_t to) {
        return fileSize >= to && in.read(header.data() + from, to - from) == to - from;
    };

    ModelFileContents contents;
    std::int32_t count = 0;
    std::size_t vertexOffset = 0;
    if (legacy) {
        if (!readHeader(0, kLegacyHeaderSize))
            return ModelFileError::Invalid;
        count = getInt32(header.data());
        vertexOffset = kLegacyHeaderSize;
    } else {
        if (!readHeader(0, kMagicSize) || std::memcmp(header.data(), kMagic, sizeof kMagic) != 0)
            return ModelFileError::Invalid;
        if (!readHeader(kMagicSize, 18))
            return ModelFileError::Invalid;
        std::int32_t version = getInt32(header.data() + 10);
        count = getInt32(header.data() + 14);
        if (version > kModelFileVersion)
            return ModelFileError::NewerVersion;
        if (version < 0)
            version = 0;
        vertexOffset = kVertexOffsetByVersion[version];
        if (!readHeader(18, vertexOffset))
            return ModelFileError::Invalid;

        // Fields a version lacks keep the standard values.
        ModelProperties p;
        const std::uint8_t* h = header.data();
        if (version >= 1) {
            p.width = getInt32(h + 18);
            p.height = getInt32(h + 22);
            p.wobbleAmount = getInt32(h + 26);
        }
        if (version >= 2)
            p.vtrSpeed = getInt32(h + 30);
        if (version >= 3) {
            p.lineColor = getColor(h + 34);
            p.shadowColor = getColor(h + 37);
            p.backgroundColor = getColor(h + 40);
            p.shadowMode = getInt32(h + 43);
        }
        if (version >= 4)
            p.lineWidth = getInt32(h + 47);
        contents.properties = sanitizeStoredProperties(p);
    }

    // The count is only believed as far as the file backs it, so a lying header can neither
    // cause a huge allocation nor leave a half-read drawing behind.
    const std::int64_t vertexCount = count > 0 ? count : 0;
    const std::uint64_t needed =
        vertexOffset + static_cast<std::uint64_t>(vertexCount) * kVertexImageSize;
    if (fileSize < needed)
        return ModelFileError::Invalid;

    try {
        contents.vertices.reserve(static_cast<std::size_t>(vertexCount));
        if (!readVertices(in, vertexCount, contents.vertices))
            return ModelFileError::Invalid;
    } catch (const std::bad_alloc&) {
        return ModelFileError::OutOfMemory;
    }
    return contents;
}

}  // namespace

bool hasExtensionIgnoringCase(const std::string& path, const char* extension) {
    const std::size_t length = std::strlen(extension);
    if (path.size() < length)
        return false;
    const std::size_t start = path.size() - length;
    for (std::size_t i = 0; i < length; ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(path[start + i]) != lower(extension[i]))
            return false;
    }
    return true;
}

bool renameLegacyForSave(std::string& filePath, std::string& displayName) {
    if (!hasExtensionIgnoringCase(filePath, ".rk2"))
        return false;
    filePath.replace(filePath.size() - 4, 4, ".rkm");
    // The title names the file really written, whatever case the legacy name had.
    if (hasExtensionIgnoringCase(displayName, ".rk2")) {
        displayName.replace(displayName.size() - 4, 4, ".rkm");
    }
    return true;
}

ModelFileRead readModel(const std::string& path) {
    RegularFileReader in;
    if (!in.open(path))
        return ModelFileError::CannotOpen;
    const bool legacy = hasExtensionIgnoringCase(path, ".rk2");
    if (!legacy && !hasExtensionIgnoringCase(path, ".rkm"))
        return ModelFileError::NotModelFile;
    return parseFile(in, legacy);
}

std::vector<std::uint8_t> encodeModelFile(const Model& model) {
    const ModelProperties& p = model.properties;
    // A file holds at most as many vertices as its count can say.
    const auto count = static_cast<std::size_t>(countVertices(model));
    std::vector<std::uint8_t> bytes(kModelFileHeaderSize + count * kVertexImageSize);
    std::uint8_t* header = bytes.data();
    std::memcpy(header, kMagic, sizeof kMagic);  // the five filler bytes stay zero
    putInt32(header + 10, kModelFileVersion);
    putInt32(header + 14, static_cast<std::int32_t>(count));
    putInt32(header + 18, p.width);
    putInt32(header + 22, p.height);
    putInt32(header + 26, p.wobbleAmount);
    putInt32(header + 30, p.vtrSpeed);
    putColor(header + 34, p.lineColor);
    putColor(header + 37, p.shadowColor);
    putColor(header + 40, p.backgroundColor);
    putInt32(header + 43, p.shadowMode);
    putInt32(header + 47, p.lineWidth);

    std::uint8_t* out = bytes.data() + kModelFileHeaderSize;
    for (std::size_t i = 0; i < count; ++i) {
        const VertexImage image = encodeVertexImage(model.vertices[i]);
        std::memcpy(out, image.data(), image.size());
        out += image.size();
    }
    return bytes;
}

std::optional<ModelFileError> saveModel(const Model& model, const std::string& path) {
    try {
        if (writeFileAtomically(path, encodeModelFile(model)))
            return std::nullopt;
    } catch (const std::bad_alloc&) {
    }
    return ModelFileError::WriteFailed;
}

}  // namespace rek
