#include "model/model_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <string>

#include "model/byte_order.h"
#include "model/undo_history.h"

namespace rek {

namespace {

constexpr std::size_t kMagicSize = 10;
constexpr char kMagic[5] = {'R', 'E', 'K', '2', '\0'};
constexpr std::size_t kLegacyHeaderSize = 4;
// Where the vertices begin in each version of the current format.
constexpr std::size_t kVertexOffsetByVersion[] = {18, 30, 34, 47, 51};
// Vertices are read and written in blocks of this many.
constexpr std::size_t kBlockVertices = 1024;

ColorRgb getColor(const std::uint8_t* in) {
    return ColorRgb{in[0], in[1], in[2]};
}

void putColor(std::uint8_t* out, ColorRgb color) {
    out[0] = color.red;
    out[1] = color.green;
    out[2] = color.blue;
}

LoadResult failure(const char* text, MessageIcon icon = MessageIcon::None) {
    return LoadResult{false, UserMessage{text, icon}};
}

// Everything a file holds, read completely before the model is touched.
struct ParsedFile {
    bool legacy = false;
    ModelProperties properties;  // current format only
    VertexList vertices;
};

// Reads `count` vertex images; false when the file ends early or cannot be read.
bool readVertices(std::ifstream& in, std::int64_t count, VertexList& out) {
    std::array<std::uint8_t, kBlockVertices * kVertexImageSize> block{};
    std::int64_t left = count;
    while (left > 0) {
        const auto now = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(kBlockVertices)));
        if (!in.read(reinterpret_cast<char*>(block.data()),
                     static_cast<std::streamsize>(now * kVertexImageSize))) {
            return false;
        }
        for (std::size_t i = 0; i < now; ++i) {
            out.push_back(decodeVertexImage(block.data() + i * kVertexImageSize));
        }
        left -= static_cast<std::int64_t>(now);
    }
    return true;
}

// Parses the file behind `in` (of `fileSize` bytes). Returns an error, or fills `parsed`.
std::optional<LoadResult> parseFile(std::ifstream& in, std::uintmax_t fileSize, bool legacy,
                                    ParsedFile& parsed) {
    parsed.legacy = legacy;
    std::array<std::uint8_t, kModelFileHeaderSize> header{};
    auto readHeader = [&](std::size_t from, std::size_t to) {
        return fileSize >= to && in.read(reinterpret_cast<char*>(header.data() + from),
                                         static_cast<std::streamsize>(to - from));
    };

    std::int32_t count = 0;
    std::size_t vertexOffset = 0;
    if (legacy) {
        if (!readHeader(0, kLegacyHeaderSize))
            return failure(kInvalidModelFileMessage);
        count = getInt32(header.data());
        vertexOffset = kLegacyHeaderSize;
    } else {
        if (!readHeader(0, kMagicSize) || std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) {
            return failure(kInvalidModelFileMessage);
        }
        if (!readHeader(kMagicSize, 18))
            return failure(kInvalidModelFileMessage);
        std::int32_t version = getInt32(header.data() + 10);
        count = getInt32(header.data() + 14);
        if (version > kModelFileVersion)
            return failure(kNewerVersionMessage);
        if (version < 0)
            version = 0;
        vertexOffset = kVertexOffsetByVersion[version];
        if (!readHeader(18, vertexOffset))
            return failure(kInvalidModelFileMessage);

        // Fields a version lacks keep the standard values.
        ModelProperties& p = parsed.properties;
        p = ModelProperties{};
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
        p = sanitizeStoredProperties(p);
    }

    // The count is only believed as far as the file backs it, so a lying header can neither
    // cause a huge allocation nor leave a half-read drawing behind.
    const std::int64_t vertexCount = count > 0 ? count : 0;
    const std::uintmax_t needed =
        vertexOffset + static_cast<std::uintmax_t>(vertexCount) * kVertexImageSize;
    if (fileSize < needed)
        return failure(kInvalidModelFileMessage);

    try {
        parsed.vertices.reserve(static_cast<std::size_t>(vertexCount));
        if (!readVertices(in, vertexCount, parsed.vertices)) {
            return failure(kInvalidModelFileMessage);
        }
    } catch (const std::bad_alloc&) {
        return failure(kLoadMemoryMessage, MessageIcon::Error);
    }
    return std::nullopt;
}

// Creates a file in the folder of `target` that nobody else uses; -1 on failure. Its name is
// short and independent of the target's, so a target named as long as the folder allows can
// still be saved.
int createTemporaryBeside(const std::string& target, std::string& tempPath) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            ".rek-save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        tempPath = (folder / name).string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool writeModel(int fd, const Model& model) {
    const ModelProperties& p = model.properties;
    std::array<std::uint8_t, kModelFileHeaderSize> header{};
    std::memcpy(header.data(), kMagic, sizeof kMagic);  // the five filler bytes stay zero
    putInt32(header.data() + 10, kModelFileVersion);
    putInt32(header.data() + 14, countVertices(model));
    putInt32(header.data() + 18, p.width);
    putInt32(header.data() + 22, p.height);
    putInt32(header.data() + 26, p.wobbleAmount);
    putInt32(header.data() + 30, p.vtrSpeed);
    putColor(header.data() + 34, p.lineColor);
    putColor(header.data() + 37, p.shadowColor);
    putColor(header.data() + 40, p.backgroundColor);
    putInt32(header.data() + 43, p.shadowMode);
    putInt32(header.data() + 47, p.lineWidth);
    if (!writeAll(fd, header.data(), header.size()))
        return false;

    std::array<std::uint8_t, kBlockVertices * kVertexImageSize> block{};
    std::size_t filled = 0;
    for (const Vertex& vertex : model.vertices) {
        const VertexImage image = encodeVertexImage(vertex);
        std::memcpy(block.data() + filled, image.data(), image.size());
        filled += image.size();
        if (filled == block.size()) {
            if (!writeAll(fd, block.data(), filled))
                return false;
            filled = 0;
        }
    }
    return writeAll(fd, block.data(), filled);
}

void syncFolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);  // best effort: the file itself is already safely written
    ::close(fd);
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

LoadResult loadModel(Model& model, ToolState& tool, UndoHistory& history, const std::string& path) {
    // Only a regular file can hold a model. Opening a pipe would wait for a writer forever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return {};

    const bool legacy = hasExtensionIgnoringCase(path, ".rk2");
    if (!legacy && !hasExtensionIgnoringCase(path, ".rkm"))
        return failure(kNotModelFileMessage);

    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (error)
        return {};

    ParsedFile parsed;
    if (auto problem = parseFile(in, fileSize, legacy, parsed))
        return *problem;
    in.close();

    // From here on nothing can fail: the model changes as a whole.
    if (!legacy) {
        const ModelProperties& p = parsed.properties;
        model.properties.wobbleAmount = p.wobbleAmount;
        model.properties.vtrSpeed = p.vtrSpeed;
        model.properties.shadowMode = p.shadowMode;
        model.properties.lineWidth = p.lineWidth;
        applyColor(model, ColorTarget::Line, p.lineColor, p.lineWidth);
        applyColor(model, ColorTarget::Shadow, p.shadowColor, p.lineWidth);
        applyColor(model, ColorTarget::Background, p.backgroundColor, p.lineWidth);
    }
    model.vertices.swap(parsed.vertices);
    model.selectionExists = false;

    tool.mode = ToolMode::StraightLine;
    tool.moveMode = false;
    tool.scaleMode = false;
    tool.scaleFactor = 1.0f;

    // A legacy file stores no size: the canvas keeps the one it has.
    if (!legacy)
        applyCanvasSize(model, parsed.properties.width, parsed.properties.height);

    history.recordSnapshot(model);
    return LoadResult{true, {}};
}

SaveResult saveModel(const Model& model, const std::string& path) {
    const SaveResult failed{false, UserMessage{kSaveFailedMessage, MessageIcon::Error}};

    // A link keeps linking: the file it points at is the one replaced.
    std::string target = path;
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        const std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (!error)
            target = resolved.string();
    }

    std::string tempPath;
    const int fd = createTemporaryBeside(target, tempPath);
    if (fd < 0)
        return failed;

    // An existing file keeps its permissions.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd, existing.st_mode & 07777);
    }

    const bool written = writeModel(fd, model) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(tempPath.c_str(), target.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return failed;
    }
    syncFolderOf(target);
    return SaveResult{true, {}};
}

}  // namespace rek
