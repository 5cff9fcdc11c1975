#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/model.h"

namespace rek {

inline constexpr std::int32_t kModelFileVersion = 4;
inline constexpr std::size_t kModelFileHeaderSize = 51;

enum class ModelFileError {
    CannotOpen,    // missing, unreadable or not a regular file; nothing to tell the user
    NotModelFile,  // the name does not end in .rkm or .rk2
    Invalid,       // wrong magic, truncated, or a count the file does not back
    NewerVersion,  // written by a newer program
    OutOfMemory,   // no memory for the vertices
    WriteFailed,   // the file could not be written; the old one is intact
};

// What a model file holds, read completely and checked.
struct ModelFileContents {
    // The stored properties, brought into their safe ranges (a zero size means "keep the
    // current one"); none for a legacy .rk2 file, which stores no properties.
    std::optional<ModelProperties> properties;
    VertexList vertices;  // every vertex unselected
};

using ModelFileRead = std::variant<ModelFileContents, ModelFileError>;

// Reads a .rkm (versions 0..4) or legacy .rk2 file. Touches nothing but the file; anything but
// a regular file (a pipe, a device) is refused without being waited on. `path` is the file
// system's bytes.
ModelFileRead readModel(const std::string& path);

// The whole version 4 file of the model, as saveModel writes it.
std::vector<std::uint8_t> encodeModelFile(const Model& model);

// Writes the model as version 4 through AtomicFile, with its rules for links, permissions and
// files that cannot be replaced. Returns the error, or nothing on success.
std::optional<ModelFileError> saveModel(const Model& model, const std::string& path);

// Extension tests as the reader does them: the last four characters, case-insensitively.
bool hasExtensionIgnoringCase(const std::string& path, const char* extension);

// The Save command never overwrites a legacy file: a path (and display name) ending in
// ".rk2" (any case) gets ".rkm" in its place. Returns whether the path changed.
bool renameLegacyForSave(std::string& filePath, std::string& displayName);

}  // namespace rek
