#pragma once

// An animated WebP made with libwebp's animation encoder: frames are compressed as they are
// added, and the file is put together from the compressed frames at the end.

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "export/rgba_frame.h"

struct WebPAnimEncoder;

namespace rek {

class WebpAnimationWriter {
  public:
    // Frames of width x height; lossless without a quality, else lossy at quality 0..100.
    WebpAnimationWriter(int width, int height, std::optional<int> quality);
    ~WebpAnimationWriter();
    WebpAnimationWriter(const WebpAnimationWriter&) = delete;
    WebpAnimationWriter& operator=(const WebpAnimationWriter&) = delete;

    // False when the encoder cannot be made (memory).
    bool ready() const { return encoder_ != nullptr; }
    // Compresses the next frame, shown for `durationMs`; false when the encoder refuses it.
    bool addFrame(const RgbaFrame& frame, int durationMs);
    // Puts the file together (looping forever) and writes it atomically to `path`, unless a
    // stop was requested meanwhile.
    enum class Result { Written, EncoderFailed, CannotWrite, Stopped };
    Result write(const std::string& path, const std::stop_token& stop);

  private:
    WebPAnimEncoder* encoder_ = nullptr;
    int width_;
    int height_;
    std::optional<int> quality_;
    std::int64_t timestamp_ = 0;
};

// "libwebp Ver.1.2.4", as the library reports its version.
std::string webpVersionText();

}  // namespace rek
