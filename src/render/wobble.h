#pragma once

#include "render/editor_state.h"

namespace rek {

// The wobble step: gives every vertex new offsets in -wobbleAmount..wobbleAmount, drawing
// exactly two numbers per vertex from state.random (horizontal first), or sets every offset to
// zero when the wobble switch is off.
void newWobbleOffsets(EditorState& state);

}  // namespace rek
