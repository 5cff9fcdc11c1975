#pragma once

// What an export is asked to do, what it reports while it runs and what it returns. Shared
// by the GIF and BMP engines, their dialogs and the command-line exporter. Everything here is
// a value; the texts the user reads are made from these in the message catalogue.

#include <cstdint>
#include <optional>
#include <string>

#include "export/export_settings.h"

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

enum class ExportErrorCode {
    // The request, refused before anything starts.
    NoPath,
    KindInvalid,
    StillAsGif,
    WaitInvalid,
    WaitTooLong,
    DelayInvalid,
    WidthInvalid,
    HeightInvalid,
    SizeTooLarge,
    TooManyFrames,  // frames
    NoGifFrames,
    NotEnoughMemory,  // neededBytes, availableBytes
    // The run.
    GifWorkScreenMemory,
    GifFrameImageMemory,
    GifAnimationInfoMemory,
    BmpWorkScreenMemory,
    BmpFrameImageMemory,
    CannotWrite,  // path: the file that could not be written
    Cancelled,    // a stop was requested; a GIF is then not written at all
};

// Why an export was refused or failed, with what the message about it needs.
struct ExportError {
    ExportError() = default;
    explicit ExportError(ExportErrorCode code) : code(code) {}

    ExportErrorCode code = ExportErrorCode::Cancelled;
    std::string path;
    std::uint64_t frames = 0;
    std::uint64_t neededBytes = 0;
    std::uint64_t availableBytes = 0;

    friend bool operator==(const ExportError&, const ExportError&) = default;
};

struct ExportOutcome {
    std::uint64_t framesWritten = 0;   // GIF: frames in the file; BMP: files written
    std::optional<ExportError> error;  // nothing when the export succeeded

    bool ok() const { return !error.has_value(); }
};

// Where an export stands, in the order the stages come. A failure ends the export in the
// stage it happened in.
enum class ExportStage {
    CreatingImages,  // drawing the frames (BMP: and writing each file)
    SavingGif,       // writing the GIF from the frames kept in memory
    Done,
};

// Receives the export's progress, on the thread the export runs on. The dialogs pass it on
// to their status line and progress bar; the command-line exporter prints it.
class ExportProgress {
  public:
    virtual ~ExportProgress() = default;
    virtual void stageChanged(ExportStage stage) { (void)stage; }
    // Once, before the first frame.
    virtual void frameCountKnown(std::uint64_t frames) { (void)frames; }
    // After each frame, with the number of frames finished so far.
    virtual void frameDone(std::uint64_t done) { (void)done; }
};

}  // namespace rek
