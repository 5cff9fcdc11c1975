#pragma once

#include "model/user_message.h"
#include "render/editor_state.h"

namespace rek {

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
};

// What the canvas widget has to do after a mouse event besides redrawing. The title, toolbar,
// hint and cursor are not reported: the shell recomputes them after every event
// (describeModeDisplay, the title from model.modified) and applies what changed.
struct InputOutcome {
    bool confinePointer = false;  // a drag began: keep the pointer inside the drawing area
    bool releasePointer = false;  // the left button came up: free the pointer again
    UserMessage message;          // a failure to show (out of memory while appending)
};

// Every handler reads the position from state.tool.pointer, which each frame samples; never
// from the mouse event. Presses and moves are ignored during VTR replay, releases are not.

// Left button down: begins a stroke, a shape or selection rectangle, or a move or scale drag.
InputOutcome pressLeft(EditorState& state, KeyModifiers keys);

// Pointer moved. While dragging it runs the scale, move or curve step; when the left button
// is found no longer held, the drag ends exactly as by releaseLeft.
InputOutcome movePointer(EditorState& state, bool leftButtonHeld, KeyModifiers keys);

// Left button up: finishes the gesture and records one history snapshot for it. In the move
// and scale sub-modes every release records one (after applying the scale), with or without a
// drag before it; a range-select drag records none. A straight line or curve that got no
// segment loses its lone stroke start.
InputOutcome releaseLeft(EditorState& state, KeyModifiers keys);

// Right button down: during a straight-line drag, places an intermediate vertex.
InputOutcome pressRight(EditorState& state);

}  // namespace rek
