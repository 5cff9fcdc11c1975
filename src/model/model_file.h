#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

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

// Reads a .rkm (versions 0..4) or legacy .rk2 file. Touches nothing but the file.
ModelFileRead readModel(const std::string& path);

// Writes the model as version 4 through AtomicFile. Returns the error, or nothing on success.
std::optional<ModelFileError> saveModel(const Model& model, const std::string& path);

// Extension tests as the reader does them: the last four characters, case-insensitively.
bool hasExtensionIgnoringCase(const std::string& path, const char* extension);

// The Save command never overwrites a legacy file: a path (and display name) ending in
// ".rk2" (any case) gets ".rkm" in its place. Returns whether the path changed.
bool renameLegacyForSave(std::string& filePath, std::string& displayName);

}  // namespace rek
