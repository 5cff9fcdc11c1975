#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "canvas/border_drag.h"
#include "canvas/move_gesture.h"
#include "canvas/scale_gesture.h"
#include "canvas/tool.h"
#include "canvas/tool_registry.h"
#include "model/model.h"
#include "model/model_file.h"
#include "model/undo_history.h"
#include "render/animation_snapshot.h"
#include "render/frame_renderer.h"
#include "render/playback.h"
#include "render/random.h"

namespace rek {

// What an operation changed, for the window to bring its widgets up to date.
struct EditorChanges {
    bool title = false;       // the modified mark or the file name
    bool mode = false;        // tool, sub-mode, selection, replay, wobble switch, undo and redo
    bool properties = false;  // colours, widths, wobble amount, replay speed, shadow
    bool canvasSize = false;  // the window draws a frame and re-centres the canvas

    bool any() const { return title || mode || properties || canvasSize; }
};

// The range-select tool's sub-modes: dragging moves or scales the selection.
enum class SubMode { None, Move, Scale };

struct FrameTick {
    bool replayStepped = false;  // the frame was one of a replay: its progress moved on
    bool replayEnded = false;    // that frame drew the whole drawing; the replay is over
};

struct EditResult {
    bool outOfMemory = false;  // a vertex could not be added; the gesture went on without it
};

// The editor without its window: the one open model, its undo history, the tools and their
// interaction state, VTR replay, the wobble switch and the random generator. Everything that
// changes this state goes through the operations below, which keep its rules:
// - a selection (and the move and scale sub-modes) exists only in range-select mode;
// - undo, redo, select all, deselect and invert are ignored during a replay, and so are
//   presses and moves on the canvas (releases are not);
// - every finished edit records one history snapshot.
// After each operation that changed something the editor emits changed() once; the window
// redraws its title, toolbar, status bar and canvas from the state it then finds.
class Editor : public QObject {
    Q_OBJECT

  public:
    // Starts with an empty drawing of these properties and its first history snapshot.
    explicit Editor(const ModelProperties& properties = ModelProperties{},
                    QObject* parent = nullptr);
    ~Editor() override;

    // --- The state, read only ---------------------------------------------------------------
    const Model& model() const { return model_; }
    ToolMode toolMode() const { return mode_; }
    SubMode subMode() const { return subMode_; }
    bool moveMode() const { return subMode_ == SubMode::Move; }
    bool scaleMode() const { return subMode_ == SubMode::Scale; }
    float scaleFactor() const { return scale_.factor(); }
    bool replaying() const { return playback_.vtrPlaying; }
    std::uint32_t replayDrawnLength() const { return playback_.vtrDrawnLength; }
    std::uint32_t replayProgressMaximum() const;
    bool wobbleEnabled() const { return wobbleEnabled_; }
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    std::size_t historySize() const { return history_.size(); }
    // The vertex count the status bar shows: taken by frames outside a replay, so it stays
    // put while a replay runs.
    std::int32_t shownVertexCount() const { return shownVertexCount_; }
    bool dragging() const { return dragging_; }
    bool borderDragActive() const { return borderDrag_.has_value(); }
    Point pointer() const { return pointer_; }
    Point dragStart() const { return dragStart_; }
    CursorKind cursor(KeyModifiers keys) const;
    // An independent copy of what an export draws, with the wobble sequence where it stands.
    AnimationSnapshot snapshot() const;

    // --- Animation ----------------------------------------------------------------------------
    void seedRandom(std::uint32_t seed) { random_.seed(seed); }
    // The frame step: takes the pointer the tools will read, draws the frame (during a replay
    // up to its length, then moves the replay on or ends it), and outside a replay the vertex
    // count and the overlays of the tool in use.
    FrameTick frameTick(FrameRenderer& renderer, Point sampledPointer);
    // The wobble step: new offsets for every vertex, or none with the wobble switched off.
    void wobbleTick();
    // The pointer as the canvas sees it now, between frames (after the canvas moved).
    void samplePointer(Point pointer) { pointer_ = pointer; }

    // --- Pointer input on the drawing area ----------------------------------------------------
    EditResult pressLeft(KeyModifiers keys);
    // With the left button found no longer held, the drag ends exactly as by releaseLeft.
    EditResult movePointer(bool leftButtonHeld, KeyModifiers keys);
    EditResult releaseLeft(KeyModifiers keys);
    EditResult pressRight();

    // A drag of the canvas's sizing border (see BorderDrag for `corner`). The start ends the
    // selection; each step shifts the drawing and sets the size the drawing area now has; the
    // end records one snapshot and leaves `modified` as it was.
    void beginBorderDrag(Point corner);
    // True when the drawing moved or the size changed: the window draws a frame at once.
    bool borderDragStep(BorderEdge edge, const AreaRect& area);
    void endBorderDrag(std::int32_t width, std::int32_t height);

    // --- Commands -----------------------------------------------------------------------------
    // Range select also clears the selection; any other tool ends it and both sub-modes.
    void setToolMode(ToolMode mode);
    void selectAll();
    void deselect();
    void invertSelection();
    // Accepted only in range select with a selection; each switches the other sub-mode off.
    bool toggleMoveMode();
    bool toggleScaleMode();
    // Only in range select with a selection.
    void deleteSelectedLines();
    void deleteLastVertex();
    bool undo();
    bool redo();
    // Every start begins from the first segment.
    void toggleReplay();
    void toggleWobble();

    // --- Model properties ---------------------------------------------------------------------
    // Shows the properties at once, all but the canvas size, without marking the model
    // modified or recording a snapshot.
    void previewProperties(const ModelProperties& properties);
    // The replay-speed preview: starts a replay unless one runs.
    void previewReplay();
    // Applies the properties with the canvas size, marks the model modified, ends a replay and
    // records a snapshot when asked (not for a new model).
    void acceptProperties(const ModelProperties& properties, bool recordSnapshot);
    // Back to the properties of before the preview; ends a replay.
    void cancelProperties(const ModelProperties& opening);

    // --- Documents ----------------------------------------------------------------------------
    // Empties the drawing for a new model: wobble on, not modified, no name, one snapshot.
    void newDocument();
    // Puts a model file's contents in place of the drawing: its properties (a legacy file
    // keeps the current ones), straight-line tool, no selection, wobble on, not modified, one
    // snapshot; a replay stops and starts afresh when `startReplay`.
    void replaceDocument(ModelFileContents contents, const std::string& path,
                         const std::string& displayName, bool startReplay);
    // Puts a recovered drawing in place (the unsaved changes of an editor that ended): as
    // replaceDocument without a replay, but modified, so that it is not dropped without a
    // question and Save writes it to `path` (empty for an untitled model).
    void restoreDocument(ModelFileContents contents, const std::string& path,
                         const std::string& displayName);
    // Writes the model; on success the document takes the path and name and is not modified.
    std::optional<ModelFileError> saveDocument(const std::string& path,
                                               const std::string& displayName);
    // Forgets the history, keeping the drawing as its one entry (a model opened at start-up).
    void restartHistory();

  signals:
    void changed(rek::EditorChanges changes);

  private:
    class ChangeScope;
    struct Summary;

    template <typename EditorType>
    static auto activeToolOf(EditorType& editor)
        -> std::conditional_t<std::is_const_v<EditorType>, const Tool&, Tool&>;
    Tool& activeTool();
    const Tool& activeTool() const;
    ToolContext context(KeyModifiers keys);
    EditResult finishGesture(const ToolContext& context);
    void endSubModes();
    void deselectAndEndSubModes();
    // What the old toolbar refresh (updateToolbarState) did on the side: outside range select
    // no selection and no sub-mode survive. Runs at the end of every operation.
    void keepSelectionRule();
    void stopReplay();
    Summary summary() const;

    Model model_;
    UndoHistory history_;
    PlaybackState playback_;
    Random random_;
    bool wobbleEnabled_ = true;
    std::int32_t shownVertexCount_ = 0;

    ToolMode mode_ = ToolMode::StraightLine;
    SubMode subMode_ = SubMode::None;
    std::array<std::unique_ptr<Tool>, kToolModeCount> tools_;
    MoveGesture move_;
    ScaleGesture scale_;
    bool dragging_ = false;
    Point pointer_;
    Point dragStart_;
    std::optional<BorderDrag> borderDrag_;

    int changeDepth_ = 0;
};

}  // namespace rek
