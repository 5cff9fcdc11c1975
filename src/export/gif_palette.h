#pragma once

// The colours of one GIF animation. Decided before the first frame from a sample picture of
// the drawing, so that one global colour table serves nearly every frame and a colour keeps
// its index from frame to frame (which is what lets a frame be cut down to what changed).

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "model/color_rgb.h"

namespace rek::detail {

class GifPalette {
  public:
    static constexpr std::size_t kMaxColours = 256;

    // The sample's colours (0x??RRGGBB pixels), most frequent first, plus `required` when the
    // sample lacks it. More than 256 are brought down to 256 by libimagequant once (the most
    // frequent colour and `required` kept exact). Nothing when the quantiser fails. May throw
    // std::bad_alloc.
    static std::optional<GifPalette> fromSample(std::span<const std::uint32_t> pixels, int width,
                                                int height,
                                                std::optional<ColorRgb> required = std::nullopt);

    std::span<const ColorRgb> colours() const { return colours_; }
    std::size_t size() const { return colours_.size(); }

    // Sets an entry aside that no colour maps to (black in the table), as a transparent index
    // for pixels that stay as they were. Nothing when the palette is full.
    std::optional<std::uint8_t> reserveEntry();
    // Adds those of `colours` it does not hold yet, in their order, while it has fewer than
    // `limit` entries. May throw std::bad_alloc.
    void addColours(std::span<const ColorRgb> colours, std::size_t limit);
    // From now on a colour the palette does not hold is shown as the nearest entry rather
    // than added.
    void closeToNewColours() { closed_ = true; }

    // The index of a 0x00RRGGBB colour: its own entry; a new entry while the palette is open
    // and has room (it grows); else the nearest entry. May throw std::bad_alloc.
    std::uint8_t indexOf(std::uint32_t rgb) {
        const auto it = lookup_.find(rgb);
        return it != lookup_.end() ? it->second : add(rgb);
    }

  private:
    GifPalette() = default;
    std::uint8_t add(std::uint32_t rgb);
    void append(ColorRgb colour);

    std::vector<ColorRgb> colours_;
    std::vector<bool> reserved_;  // entries set aside, never a colour's nearest
    bool closed_ = false;
    // Every colour met so far, the ones shown as a near entry included.
    std::unordered_map<std::uint32_t, std::uint8_t> lookup_;
};

}  // namespace rek::detail
