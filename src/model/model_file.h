#pragma once

#include <cstdint>
#include <string>

#include "model/model.h"
#include "model/tool_state.h"
#include "model/user_message.h"

namespace rek {

class UndoHistory;

inline constexpr std::int32_t kModelFileVersion = 4;
inline constexpr std::size_t kModelFileHeaderSize = 51;

inline const char* const kNotModelFileMessage = "レクモデルファイルではありません。";
inline const char* const kInvalidModelFileMessage = "正しいレクモデルファイルではありません。";
inline const char* const kNewerVersionMessage =
    "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んでください。";
inline const char* const kLoadMemoryMessage = "読み込み時の頂点用のメモリが確保できません。";
inline const char* const kSaveFailedMessage = "ファイルを保存できませんでした。";

struct LoadResult {
    bool ok = false;
    UserMessage message;  // empty when the file could not be opened, or on success
};

// Reads a .rkm (versions 0..4) or legacy .rk2 file into the model. All or nothing: on any
// failure the model is left exactly as it was. On success every vertex is unselected, the
// tool mode is straight line with move and scale off, the canvas size is applied and one
// snapshot is recorded. `modified`, `filePath` and `displayName` are not touched.
LoadResult loadModel(Model& model, ToolState& tool, UndoHistory& history, const std::string& path);

struct SaveResult {
    bool ok = false;
    UserMessage message;
};

// Writes the model as version 4, atomically: a temporary file beside the target is written,
// flushed and renamed over it. A target that is a symbolic link stays one: the file it points
// at is replaced.
SaveResult saveModel(const Model& model, const std::string& path);

// Extension tests as the reader does them: the last four characters, case-insensitively.
bool hasExtensionIgnoringCase(const std::string& path, const char* extension);

// The Save command never overwrites a legacy file: a path (and display name) ending in
// ".rk2" (any case) gets ".rkm" in its place. Returns whether the path changed.
bool renameLegacyForSave(std::string& filePath, std::string& displayName);

}  // namespace rek
