#pragma once

#include <cstdint>

#include "model/model.h"
#include "model/tool_state.h"
#include "model/undo_history.h"
#include "playback_state.h"
#include "random.h"

namespace rek {

// Everything the program edits and animates, in one object: `main` creates one, tests create
// their own. The shell adds its settings and window state around it.
struct EditorState {
    Model model;
    UndoHistory history;
    ToolState tool;
    PlaybackState playback;
    Random random;
    bool wobbleEnabled = true;
    std::int32_t drawnVertexCount = 0;
    // Set while an export draws its own frames; the animation timers then do nothing.
    bool exportBusy = false;
};

}  // namespace rek
