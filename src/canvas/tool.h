#pragma once

#include <optional>

#include "model/geometry.h"
#include "model/model.h"
#include "render/frame_scene.h"
#include "render/random.h"

namespace rek {

// Modifier keys held during a pointer event.
struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
};

// The cursor over the drawing area.
enum class CursorKind { Arrow, Select, SelectAdd, SelectRemove, ResizeHorizontal, MoveAll };

// What a tool works with while it handles one pointer event. The editor makes one for every
// event and afterwards records the snapshot and reports the failure the tool asked for.
struct ToolContext {
    Model& model;
    Random& random;
    // The pointer as the last frame sampled it: tools never read the mouse event's position.
    const Point pointer;
    // Shared by the gestures of one drag: where it began (shapes, range select, move), or for
    // the curve tool the vertex added last.
    Point& dragStart;
    const KeyModifiers keys;

    bool snapshotWanted = false;  // the gesture finished an edit: record one history snapshot
    bool outOfMemory = false;     // an append failed; the gesture went on as if it was dropped

    // Appends through appendVertex, noting a failure to get memory.
    void append(Point point, bool joined);
    void appendAtPointer(bool joined) { append(pointer, joined); }
};

// One tool of the canvas: what a press, a drag, a release and a right click do to the drawing,
// and what is shown meanwhile. The editor calls the hooks of the tool in use; a tool keeps only
// its own per-gesture state.
class Tool {
  public:
    virtual ~Tool() = default;

    // The left button went down on the drawing area. Not called during a replay nor while a
    // drag is already in progress; a drag begins after it.
    virtual void press(ToolContext& context) = 0;
    // The pointer moved during a drag. Not called during a replay.
    virtual void drag(ToolContext& context);
    // The left button came up. `dragged` is false when no drag was in progress: the press
    // came during a replay, or on the canvas's border.
    virtual void release(ToolContext& context, bool dragged) = 0;
    // The right button went down (not during a replay); `dragging` while the left one is held.
    virtual void pressRight(ToolContext& context, bool dragging);

    // What the renderer draws over the frame during a drag.
    virtual RubberBand rubberBand(const Model& model, Point dragStart, Point pointer) const;
    // Selected vertices the renderer draws scaled, while this tool is in use.
    virtual std::optional<ScalePreview> scalePreview() const;
    virtual CursorKind cursor(KeyModifiers keys) const;
};

}  // namespace rek
