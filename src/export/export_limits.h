#pragma once

// Frame counting and the bounds every export is checked against before it starts, so that
// sizes and counts stay within 32-bit arithmetic and the frames fit in memory.

#include <cstdint>
#include <optional>
#include <string>

#include "export/export_job.h"
#include "render/editor_state.h"

namespace rek {

inline constexpr std::int64_t kMaxExportWaitSeconds = 86400;  // one day
inline constexpr std::uint64_t kMaxExportFrames = 1000000;

inline const char* const kExportNoPathMessage = "ファイル名が入力されていません。";
inline const char* const kExportWaitInvalidMessage = "VTR終了後の待ち時間の値が不正です。";
inline const char* const kExportWidthInvalidMessage = "画像の幅の値が不正です。";
inline const char* const kExportHeightInvalidMessage = "画像の高さの値が不正です。";
inline const char* const kExportDelayInvalidMessage = "VTRのなめらかさの値が不正です。";
inline const char* const kExportKindInvalidMessage = "アニメーションの種類が不正です。";
inline const char* const kExportStillGifMessage = "静止画はGIFファイルでは作成できません。";
inline const char* const kExportSizeTooLargeMessage =
    "画像が大きすぎます。\n幅と高さはそれぞれ16384以下、幅×高さは67108864以下にしてください。";
inline const char* const kExportWaitTooLongMessage =
    "VTR終了後の待ち時間は86400秒以下にしてください。";
inline const char* const kExportNoFramesGifMessage =
    "作成されるコマ数が0のため、GIFファイルを作成できません。\n"
    "VTR終了後の待ち時間を長くしてください。";

// Pixels of line a VTR export adds per frame: vtrSpeed * delay / 6, truncated, at least 1.
std::int32_t vtrExportStep(std::int32_t vtrSpeed, int delay);

// Frames of an export: 5 for wobble, 1 for a still image; for VTR
// trunc(totalLength) / step + waitSeconds * 100 / delay. Worked out in 64 bits, so huge
// inputs give huge counts instead of wrapping; the bounds below then refuse them.
std::uint64_t exportFrameCount(ExportKind kind, double totalLength, std::int32_t vtrSpeed,
                               std::int64_t waitSeconds, int delay);
std::uint64_t exportFrameCount(const EditorState& state, const ExportRequest& request);

// Bytes an export keeps in memory at its peak (GIF: every frame until the file is written).
std::uint64_t exportMemoryEstimate(ExportTarget target, const ExportRequest& request,
                                   const ModelProperties& canvas, std::uint64_t frames);

// Memory the export may use: what the system reports as available.
std::uint64_t availableMemoryBytes();

// Checks a request before anything starts. Returns the message to show, or nothing when the
// export may run.
std::optional<std::string> validateExport(ExportTarget target, const ExportRequest& request,
                                          const EditorState& state, std::uint64_t memoryBudget);
std::optional<std::string> validateExport(ExportTarget target, const ExportRequest& request,
                                          const EditorState& state);

}  // namespace rek
