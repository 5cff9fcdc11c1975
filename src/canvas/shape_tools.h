#pragma once

#include <cstdint>

#include "canvas/edit_outcome.h"
#include "render/editor_state.h"

namespace rek {

// The drag rectangle of the shape tools runs from tool.dragStart to tool.pointer.

// Appends the rectangle's outline (five vertices, starting at a random corner and running in a
// random direction: two draws from state.random) and, in FilledRect mode, its hatch stroke.
EditOutcome addRectangle(EditorState& state);

// Appends the ellipse's outline (n + 1 vertices from a random start angle in a random
// direction: two draws) and, in FilledCircle mode, its hatch of chords across 225 degrees.
EditOutcome addCircle(EditorState& state);

// Selects the vertices with dragStart.x <= x < pointer.x (and the same for y, corners in any
// order), or deselects them when Shift is held. selectionExists then tells whether any vertex
// at all is still selected, and the toolbar state follows.
void selectInRectangle(EditorState& state, bool shiftHeld);

// Moves the selected vertices, or every vertex while the canvas border is dragged, clamping
// each coordinate to the coordinate limit. Does not mark the model modified.
void translateVertices(EditorState& state, std::int32_t dx, std::int32_t dy);

// Writes the scaled positions of the selected vertices (clamped) and resets the factor to 1.
void applyScale(EditorState& state);

// One pointer move of a move drag: shift by the pointer's movement since the last step.
void moveDragStep(EditorState& state);

// One pointer move of a scale drag: the factor follows the horizontal distance from the pivot.
void scaleDragStep(EditorState& state);

// The factor for a horizontal distance from the pivot: 1 + 0.01 per pixel, never below 0.
float scaleFactorForDistance(std::int32_t dx);

}  // namespace rek
