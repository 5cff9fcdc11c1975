#pragma once

// What an export is asked to do, what it reports while it runs and what it returns. Shared
// by the engines of every format, their dialogs and the command-line exporter. Everything here
// is a value; the texts the user reads are made from these in the message catalogue.

#include <cstdint>
#include <optional>
#include <string>

#include "export/export_settings.h"

namespace rek {

// The formats. GIF, WebP and APNG are animations in one file; BMP and PNG numbered sets of
// files (or one file for a still image); SVG the still image as vectors.
enum class ExportTarget { Gif, Bmp, Webp, Apng, Png, Svg };

// True for the formats written as one file per frame, from a base name.
bool isNumberedSet(ExportTarget target);
// True for the animations in one file, which cannot hold a still image.
bool isAnimationFile(ExportTarget target);
// True where the background can be made transparent.
bool hasTransparency(ExportTarget target);

// Frame delay of a VTR export in hundredths of a second: 18 - smoothness (smoothness 0..12).
inline constexpr int kMinSmoothness = 0;
inline constexpr int kMaxSmoothness = 12;
inline constexpr int kWobbleFrameDelay = 6;
inline constexpr int kMaxFrameDelay = 18;
int frameDelayForSmoothness(int smoothness);

// WebP quality: nothing for lossless, else lossy with this quality.
inline constexpr int kMinWebpQuality = 0;
inline constexpr int kMaxWebpQuality = 100;

struct ExportRequest {
    // The output file, or for a numbered set the base name the files are formed from. Bytes as
    // the file system takes them: a file name need not be UTF-8.
    std::string path;
    ExportKind kind = ExportKind::Wobble;
    int width = 0;  // target size in pixels
    int height = 0;
    bool antiAlias = false;  // capture at canvas size, resize with smoothing
    // GIF: without anti-aliasing only. WebP, APNG, PNG: real alpha, smoothed edges included.
    // SVG: no background. BMP: refused.
    bool transparent = false;
    std::int64_t waitSeconds = 5;    // after the replay (VTR only)
    int delay = kWobbleFrameDelay;   // hundredths of a second per frame
    std::optional<int> webpQuality;  // WebP only
    // SVG only: the vertices at their current wobble offsets (true) or as stored.
    bool wobbleOffsets = true;
};

enum class ExportErrorCode {
    // The request, refused before anything starts.
    NoPath,
    OutputIsFolder,  // path: the name ends in a slash or names a folder
    PathTooLong,     // path: a name longer than the file system allows
    KindInvalid,
    StillAsGif,
    StillAsAnimation,  // a still image asked of WebP or APNG
    SvgNotStill,       // SVG holds the still image only
    NoTransparency,    // a transparent background asked of BMP
    QualityInvalid,    // a WebP quality outside 0..100, or one given to another format
    WaitInvalid,
    WaitTooLong,
    DelayInvalid,
    WidthInvalid,
    HeightInvalid,
    SizeTooLarge,
    TooManyFrames,  // frames
    NoGifFrames,
    NoAnimationFrames,  // a WebP or APNG without frames
    WebpSizeTooLarge,   // a side over WebP's 16383 pixels
    NotEnoughMemory,    // neededBytes, availableBytes
    // The run.
    GifWorkScreenMemory,
    GifFrameImageMemory,
    GifAnimationInfoMemory,
    BmpWorkScreenMemory,
    BmpFrameImageMemory,
    WorkScreenMemory,  // WebP, APNG, PNG: the memory of the drawing surface
    FrameImageMemory,  // WebP, APNG, PNG: the memory of a frame
    EncoderFailed,     // the image library refused a frame (WebP)
    CannotWrite,       // path: the file that could not be written
    Cancelled,         // a stop was requested; then nothing is written at all
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
    std::uint64_t framesWritten = 0;   // frames in the file, or files of a numbered set
    std::optional<ExportError> error;  // nothing when the export succeeded

    bool ok() const { return !error.has_value(); }
};

// Where an export stands, in the order the stages come. A failure ends the export in the
// stage it happened in.
enum class ExportStage {
    CreatingImages,  // drawing the frames (and encoding them where the format streams)
    SavingGif,       // writing the GIF from the frames kept in memory
    SavingFile,      // putting the encoded frames together into the file (WebP)
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
