#include "export/webp_writer.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>
#include <limits>
#include <span>

#include "model/atomic_file.h"

namespace rek {

WebpAnimationWriter::WebpAnimationWriter(int width, int height, std::optional<int> quality)
    : width_(width), height_(height), quality_(quality) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return;
    options.anim_params.loop_count = 0;  // forever
    options.anim_params.bgcolor = 0;     // transparent
    encoder_ = WebPAnimEncoderNew(width, height, &options);
}

WebpAnimationWriter::~WebpAnimationWriter() {
    if (encoder_ != nullptr)
        WebPAnimEncoderDelete(encoder_);
}

bool WebpAnimationWriter::addFrame(const RgbaFrame& frame, int durationMs) {
    if (encoder_ == nullptr || frame.width != width_ || frame.height != height_)
        return false;
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return false;
    if (quality_) {
        config.lossless = 0;
        config.quality = static_cast<float>(*quality_);
    } else {
        config.lossless = 1;
        config.quality = 75;  // the effort of the lossless search
    }
    config.method = 4;
    if (!WebPValidateConfig(&config))
        return false;

    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return false;
    picture.use_argb = 1;
    picture.width = width_;
    picture.height = height_;
    // The encoder only reads the pixels: they are lent, not copied.
    picture.argb = const_cast<std::uint32_t*>(frame.pixels.data());
    picture.argb_stride = width_;
    const bool added =
        WebPAnimEncoderAdd(encoder_, &picture, static_cast<int>(timestamp_), &config) != 0;
    if (added)
        timestamp_ += durationMs;
    return added;
}

WebpAnimationWriter::Result WebpAnimationWriter::write(const std::string& path,
                                                       const std::stop_token& stop) {
    if (encoder_ == nullptr || timestamp_ > std::numeric_limits<int>::max())
        return Result::EncoderFailed;
    // The end of the last frame.
    if (!WebPAnimEncoderAdd(encoder_, nullptr, static_cast<int>(timestamp_), nullptr))
        return Result::EncoderFailed;
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAssemble(encoder_, &data)) {
        WebPDataClear(&data);
        return Result::EncoderFailed;
    }
    if (stop.stop_requested()) {
        WebPDataClear(&data);
        return Result::Stopped;
    }
    const bool written =
        writeFileAtomically(path, std::span<const std::uint8_t>(data.bytes, data.size));
    WebPDataClear(&data);
    return written ? Result::Written : Result::CannotWrite;
}

std::string webpVersionText() {
    const int version = WebPGetEncoderVersion();
    char text[48];
    std::snprintf(text, sizeof text, "libwebp Ver.%d.%d.%d", version >> 16, (version >> 8) & 0xFF,
                  version & 0xFF);
    return text;
}

}  // namespace rek
