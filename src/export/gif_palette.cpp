#include "export/gif_palette.h"

#include <algorithm>
#include <limits>

#include "export/color_reduction.h"

namespace rek::detail {

namespace {

std::uint32_t pack(ColorRgb c) {
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

ColorRgb unpack(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
}

int distance(ColorRgb a, ColorRgb b) {
    const int r = a.red - b.red;
    const int g = a.green - b.green;
    const int bl = a.blue - b.blue;
    return r * r + g * g + bl * bl;
}

}  // namespace

std::optional<GifPalette> GifPalette::fromSample(std::span<const std::uint32_t> pixels, int width,
                                                 int height, std::optional<ColorRgb> required) {
    std::unordered_map<std::uint32_t, std::size_t> counts;
    std::uint32_t last = 0;
    std::size_t run = 0;
    for (std::uint32_t p : pixels) {
        p &= 0x00FFFFFF;
        if (run > 0 && p != last) {
            counts[last] += run;
            run = 0;
        }
        last = p;
        ++run;
    }
    if (run > 0)
        counts[last] += run;
    if (required)
        counts.try_emplace(pack(*required), 0);

    GifPalette palette;
    if (counts.size() <= kMaxColours) {
        std::vector<std::pair<std::size_t, std::uint32_t>> byCount;
        byCount.reserve(counts.size());
        for (const auto& [colour, count] : counts)
            byCount.emplace_back(count, colour);
        // Most frequent first; equal counts in colour order, so that the order never depends
        // on how the map happens to iterate.
        std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        for (const auto& entry : byCount)
            palette.append(unpack(entry.second));
        return palette;
    }

    std::optional<IndexedPixels> quantised = quantisedPalette(pixels, width, height);
    if (!quantised)
        return std::nullopt;
    if (required && std::find(quantised->palette.begin(), quantised->palette.end(), *required) ==
                        quantised->palette.end()) {
        if (quantised->palette.size() == kMaxColours)
            quantised->palette.pop_back();
        quantised->palette.push_back(*required);
    }
    for (const ColorRgb& colour : quantised->palette) {
        if (!palette.lookup_.contains(pack(colour)))
            palette.append(colour);
    }
    return palette;
}

void GifPalette::append(ColorRgb colour) {
    lookup_.emplace(pack(colour), static_cast<std::uint8_t>(colours_.size()));
    colours_.push_back(colour);
    reserved_.push_back(false);
}

std::optional<std::uint8_t> GifPalette::reserveEntry() {
    if (colours_.size() >= kMaxColours)
        return std::nullopt;
    const auto index = static_cast<std::uint8_t>(colours_.size());
    colours_.push_back({});
    reserved_.push_back(true);
    return index;
}

void GifPalette::addColours(std::span<const ColorRgb> colours, std::size_t limit) {
    limit = std::min(limit, kMaxColours);
    for (const ColorRgb& colour : colours) {
        if (colours_.size() >= limit)
            return;
        if (!lookup_.contains(pack(colour)))
            append(colour);
    }
}

std::uint8_t GifPalette::add(std::uint32_t rgb) {
    const ColorRgb colour = unpack(rgb);
    if (!closed_ && colours_.size() < kMaxColours) {
        append(colour);
        return static_cast<std::uint8_t>(colours_.size() - 1);
    }
    std::uint8_t index = 0;
    int best = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        if (reserved_[i])
            continue;
        const int d = distance(colour, colours_[i]);
        if (d < best) {
            best = d;
            index = static_cast<std::uint8_t>(i);
        }
    }
    lookup_.emplace(rgb, index);
    return index;
}

}  // namespace rek::detail
