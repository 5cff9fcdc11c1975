#pragma once

#include <cstdint>

namespace rek {

enum class ExportKind : std::int32_t {
    Wobble = 0,  // the finished model, new wobble every frame
    Vtr = 1,     // the drawing replayed in drawing order, then the finished model
    Still = 2,   // one frame (numbered BMP export only)
};

// The export dialogs' remembered choices. Reset at start-up, on New and on every open.
struct ExportSettings {
    ExportKind kind = ExportKind::Wobble;
    std::int32_t waitSeconds = 5;
    std::int32_t smoothness = 12;  // frame delay is 18 - smoothness hundredths of a second
    bool antiAlias = false;
    bool transparent = false;

    friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

}  // namespace rek
