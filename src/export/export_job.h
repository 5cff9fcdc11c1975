#pragma once

// What an export is asked to do, what it reports while it runs and what it returns. Shared
// by the GIF and BMP engines, their dialogs and the command-line exporter.

#include <cstdint>
#include <string>

#include "export/export_settings.h"
#include "model/user_message.h"

namespace rek {

enum class ExportTarget { Gif, Bmp };

// Frame delay of a VTR export in hundredths of a second: 18 - smoothness (smoothness 0..12).
inline constexpr int kMinSmoothness = 0;
inline constexpr int kMaxSmoothness = 12;
inline constexpr int kWobbleFrameDelay = 6;
inline constexpr int kMaxFrameDelay = 18;
int frameDelayForSmoothness(int smoothness);

struct ExportRequest {
    // GIF: the output file. BMP: the base name the numbered files are formed from.
    std::string path;
    ExportKind kind = ExportKind::Wobble;
    int width = 0;  // target size in pixels
    int height = 0;
    bool antiAlias = false;         // capture at canvas size, resize with smoothing
    bool transparent = false;       // GIF only, and only without anti-aliasing
    std::int64_t waitSeconds = 5;   // after the replay (VTR only)
    int delay = kWobbleFrameDelay;  // hundredths of a second per frame
};

struct ExportResult {
    bool ok = false;
    std::uint64_t framesWritten = 0;  // GIF: frames in the file; BMP: files written
    // Why it failed (empty on success). Memory failures carry the error icon.
    UserMessage message;
};

// Receives the export's progress. The dialogs show it in their status line and progress bar
// and keep the window alive in pumpEvents; the command-line exporter prints it.
class ExportObserver {
  public:
    virtual ~ExportObserver() = default;
    virtual void setStatus(const std::string& text) { (void)text; }
    virtual void setProgressRange(int maximum) { (void)maximum; }
    virtual void stepProgress() {}
    // Called once per frame and around the final write: a chance to process pending events.
    virtual void pumpEvents() {}
};

inline const char* const kStatusCreatingImages = "画像データを作成中………";
inline const char* const kStatusSavingGif = "GIFファイルを保存中………長時間かかります………";
inline const char* const kStatusDone = "作業完了！";

inline const char* const kGifWorkScreenMemoryMessage =
    "GIF作成時の作業画面用メモリが確保できません。";
inline const char* const kGifFrameImageMemoryMessage =
    "GIF作成時のコマ画像用メモリが確保できません。";
inline const char* const kGifAnimationInfoMemoryMessage =
    "GIF作成時のアニメ情報用メモリが確保できません。";
inline const char* const kBmpWorkScreenMemoryMessage =
    "BMP作成時の作業画面用メモリが確保できません。";
inline const char* const kBmpFrameImageMemoryMessage =
    "BMP作成時のコマ画像用メモリが確保できません。";

}  // namespace rek
