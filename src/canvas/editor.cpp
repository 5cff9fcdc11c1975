#include "canvas/editor.h"

#include <type_traits>
#include <utility>

#include "model/selection.h"
#include "render/wobble.h"

namespace rek {

// The parts of the state the window shows, compared before and after an operation.
struct Editor::Summary {
    bool modified;
    std::string displayName;
    ToolMode mode;
    SubMode subMode;
    bool selectionExists;
    bool replaying;
    bool wobbleEnabled;
    bool canUndo;
    bool canRedo;
    ModelProperties properties;
};

// Wraps every public operation: when the outermost one ends, the selection rule is applied and
// changed() is emitted with what differs from before.
class Editor::ChangeScope {
  public:
    explicit ChangeScope(Editor& editor) : editor_(editor), before_(editor.summary()) {
        ++editor_.changeDepth_;
    }
    ~ChangeScope() {
        if (--editor_.changeDepth_ > 0)
            return;
        editor_.keepSelectionRule();
        const Summary after = editor_.summary();
        EditorChanges changes;
        changes.title =
            before_.modified != after.modified || before_.displayName != after.displayName;
        changes.mode = before_.mode != after.mode || before_.subMode != after.subMode ||
                       before_.selectionExists != after.selectionExists ||
                       before_.replaying != after.replaying ||
                       before_.wobbleEnabled != after.wobbleEnabled ||
                       before_.canUndo != after.canUndo || before_.canRedo != after.canRedo;
        const ModelProperties& a = before_.properties;
        const ModelProperties& b = after.properties;
        changes.canvasSize = a.width != b.width || a.height != b.height;
        ModelProperties sameSize = b;
        sameSize.width = a.width;
        sameSize.height = a.height;
        changes.properties = sameSize != a;
        if (changes.any())
            emit editor_.changed(changes);
    }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

  private:
    Editor& editor_;
    Summary before_;
};

Editor::Editor(const ModelProperties& properties, QObject* parent) : QObject(parent) {
    for (int i = 0; i < kToolModeCount; ++i)
        tools_[static_cast<std::size_t>(i)] = makeTool(static_cast<ToolMode>(i));
    setProperties(model_, properties);
    history_.recordSnapshot(model_);
}

Editor::~Editor() = default;

Editor::Summary Editor::summary() const {
    return Summary{model_.modified,        model_.displayName,   mode_,          subMode_,
                   model_.selectionExists, playback_.vtrPlaying, wobbleEnabled_, history_.canUndo(),
                   history_.canRedo(),     model_.properties};
}

// The gestures of the sub-modes stand in for the range-select tool while they are on.
template <typename EditorType>
auto Editor::activeToolOf(EditorType& editor)
    -> std::conditional_t<std::is_const_v<EditorType>, const Tool&, Tool&> {
    switch (editor.subMode_) {
        case SubMode::Move:
            return editor.move_;
        case SubMode::Scale:
            return editor.scale_;
        case SubMode::None:
            break;
    }
    return *editor.tools_[static_cast<std::size_t>(editor.mode_)];
}

Tool& Editor::activeTool() {
    return activeToolOf(*this);
}

const Tool& Editor::activeTool() const {
    return activeToolOf(*this);
}

std::uint32_t Editor::replayProgressMaximum() const {
    return rek::replayProgressMaximum(model_.vertices);
}

CursorKind Editor::cursor(KeyModifiers keys) const {
    return activeTool().cursor(keys);
}

AnimationSnapshot Editor::snapshot() const {
    return AnimationSnapshot{model_.properties, model_.vertices, random_.state()};
}

// --- Animation ---------------------------------------------------------------------------------

FrameTick Editor::frameTick(FrameRenderer& renderer, Point sampledPointer) {
    ChangeScope scope(*this);
    pointer_ = sampledPointer;
    const bool replaying = playback_.vtrPlaying;

    FrameScene scene{model_.vertices, model_.properties, std::nullopt, activeTool().scalePreview()};
    if (replaying)
        scene.replayLength = playback_.vtrDrawnLength;
    const FrameResult result = renderer.drawFrame(scene);

    FrameTick tick;
    if (replaying) {
        tick.replayStepped = true;
        tick.replayEnded = advanceReplay(playback_, result.complete, model_.properties.vtrSpeed);
    } else {
        shownVertexCount_ = countVertices(model_);
    }
    // Tested after drawing, so the frame that completes a replay already gets its overlays.
    if (!playback_.vtrPlaying) {
        OverlayScene overlays{model_.vertices, model_.properties.lineWidth, {}, scene.scale};
        if (dragging_)
            overlays.band = activeTool().rubberBand(model_, dragStart_, pointer_);
        renderer.drawOverlays(overlays);
    }
    return tick;
}

void Editor::wobbleTick() {
    newWobbleOffsets(model_.vertices, model_.properties.wobbleAmount, wobbleEnabled_, random_);
}

// --- Pointer input -----------------------------------------------------------------------------

ToolContext Editor::context(KeyModifiers keys) {
    return ToolContext{model_, random_, pointer_, dragStart_, keys};
}

EditResult Editor::finishGesture(const ToolContext& context) {
    if (context.snapshotWanted)
        history_.recordSnapshot(model_);
    return EditResult{context.outOfMemory};
}

EditResult Editor::pressLeft(KeyModifiers keys) {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying || dragging_)
        return {};
    ToolContext gesture = context(keys);
    activeTool().press(gesture);
    dragging_ = true;
    return finishGesture(gesture);
}

EditResult Editor::movePointer(bool leftButtonHeld, KeyModifiers keys) {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying || !dragging_)
        return {};
    ToolContext gesture = context(keys);
    activeTool().drag(gesture);
    EditResult result = finishGesture(gesture);
    // The release itself may have gone elsewhere (outside the window, to another program).
    if (!leftButtonHeld) {
        const EditResult released = releaseLeft(keys);
        result.outOfMemory = result.outOfMemory || released.outOfMemory;
    }
    return result;
}

EditResult Editor::releaseLeft(KeyModifiers keys) {
    ChangeScope scope(*this);
    ToolContext gesture = context(keys);
    activeTool().release(gesture, dragging_);
    dragging_ = false;
    return finishGesture(gesture);
}

EditResult Editor::pressRight() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return {};
    ToolContext gesture = context(KeyModifiers{});
    activeTool().pressRight(gesture, dragging_);
    return finishGesture(gesture);
}

void Editor::beginBorderDrag(Point corner) {
    ChangeScope scope(*this);
    deselectAndEndSubModes();
    borderDrag_.emplace(corner);
}

bool Editor::borderDragStep(BorderEdge edge, const AreaRect& area) {
    ChangeScope scope(*this);
    if (!borderDrag_)
        return false;
    const bool shifted = borderDrag_->step(model_.vertices, edge, Point{area.left, area.top});
    const bool resized = applyCanvasSize(model_, area.width, area.height);
    return shifted || resized;
}

void Editor::endBorderDrag(std::int32_t width, std::int32_t height) {
    ChangeScope scope(*this);
    if (!borderDrag_)
        return;
    // Resizing the canvas is not an edit of the drawing: `modified` stays as it was.
    applyCanvasSize(model_, width, height);
    history_.recordSnapshot(model_);
    borderDrag_.reset();
}

// --- Commands ----------------------------------------------------------------------------------

void Editor::endSubModes() {
    subMode_ = SubMode::None;
}

void Editor::deselectAndEndSubModes() {
    deselectAll(model_);
    endSubModes();
}

void Editor::keepSelectionRule() {
    // No vertex is ever selected without selectionExists, so the flag tells when the walk over
    // the list is needed; this runs after every frame.
    if (mode_ != ToolMode::RangeSelect && (model_.selectionExists || subMode_ != SubMode::None))
        deselectAndEndSubModes();
}

void Editor::setToolMode(ToolMode mode) {
    ChangeScope scope(*this);
    mode_ = mode;
    if (mode == ToolMode::RangeSelect)
        deselectAndEndSubModes();
}

void Editor::selectAll() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return;
    mode_ = ToolMode::RangeSelect;
    rek::selectAll(model_);
}

void Editor::deselect() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return;
    setToolMode(ToolMode::RangeSelect);
}

void Editor::invertSelection() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return;
    mode_ = ToolMode::RangeSelect;
    rek::invertSelection(model_);
}

bool Editor::toggleMoveMode() {
    ChangeScope scope(*this);
    if (mode_ != ToolMode::RangeSelect || !model_.selectionExists)
        return false;
    subMode_ = subMode_ == SubMode::Move ? SubMode::None : SubMode::Move;
    return true;
}

bool Editor::toggleScaleMode() {
    ChangeScope scope(*this);
    if (mode_ != ToolMode::RangeSelect || !model_.selectionExists)
        return false;
    scale_.resetFactor();
    subMode_ = subMode_ == SubMode::Scale ? SubMode::None : SubMode::Scale;
    return true;
}

void Editor::deleteSelectedLines() {
    ChangeScope scope(*this);
    if (mode_ != ToolMode::RangeSelect || !model_.selectionExists)
        return;
    rek::deleteSelectedLines(model_, history_);
    endSubModes();
}

void Editor::deleteLastVertex() {
    ChangeScope scope(*this);
    rek::deleteLastVertex(model_, history_);
}

bool Editor::undo() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return false;
    if (!history_.undo(model_).restored)
        return false;
    endSubModes();
    return true;
}

bool Editor::redo() {
    ChangeScope scope(*this);
    if (playback_.vtrPlaying)
        return false;
    if (!history_.redo(model_).restored)
        return false;
    endSubModes();
    return true;
}

void Editor::toggleReplay() {
    ChangeScope scope(*this);
    playback_.vtrDrawnLength = 0;
    playback_.vtrPlaying = !playback_.vtrPlaying;
}

void Editor::toggleWobble() {
    ChangeScope scope(*this);
    wobbleEnabled_ = !wobbleEnabled_;
}

// --- Model properties --------------------------------------------------------------------------

void Editor::previewProperties(const ModelProperties& properties) {
    ChangeScope scope(*this);
    ModelProperties sameSize = properties;
    sameSize.width = model_.properties.width;
    sameSize.height = model_.properties.height;
    setProperties(model_, sameSize);
}

void Editor::previewReplay() {
    ChangeScope scope(*this);
    if (!playback_.vtrPlaying) {
        playback_.vtrPlaying = true;
        playback_.vtrDrawnLength = 0;
    }
}

void Editor::stopReplay() {
    playback_.vtrPlaying = false;
    playback_.vtrDrawnLength = 0;
}

void Editor::acceptProperties(const ModelProperties& properties, bool recordSnapshot) {
    ChangeScope scope(*this);
    setProperties(model_, properties);
    if (recordSnapshot)
        history_.recordSnapshot(model_);
    stopReplay();
    model_.modified = true;
}

void Editor::cancelProperties(const ModelProperties& opening) {
    ChangeScope scope(*this);
    previewProperties(opening);
    stopReplay();
}

// --- Documents ---------------------------------------------------------------------------------

void Editor::newDocument() {
    ChangeScope scope(*this);
    clearVertices(model_);
    model_.selectionExists = false;
    wobbleEnabled_ = true;
    model_.modified = false;
    shownVertexCount_ = 0;
    model_.displayName.clear();
    model_.filePath.clear();
    history_.recordSnapshot(model_);
}

void Editor::replaceDocument(ModelFileContents contents, const std::string& path,
                             const std::string& displayName, bool startReplay) {
    ChangeScope scope(*this);
    if (contents.properties)
        setProperties(model_, *contents.properties);
    model_.vertices = std::move(contents.vertices);
    model_.selectionExists = false;
    mode_ = ToolMode::StraightLine;
    endSubModes();
    scale_.resetFactor();
    history_.recordSnapshot(model_);

    wobbleEnabled_ = true;
    shownVertexCount_ = countVertices(model_);
    model_.displayName = displayName;
    model_.filePath = path;
    model_.modified = false;
    playback_.vtrPlaying = false;
    if (startReplay) {
        playback_.vtrPlaying = true;
        playback_.vtrDrawnLength = 0;
    }
}

void Editor::restoreDocument(ModelFileContents contents, const std::string& path,
                             const std::string& displayName) {
    ChangeScope scope(*this);
    replaceDocument(std::move(contents), path, displayName, /*startReplay=*/false);
    model_.modified = true;
}

std::optional<ModelFileError> Editor::saveDocument(const std::string& path,
                                                   const std::string& displayName) {
    ChangeScope scope(*this);
    if (const auto error = saveModel(model_, path))
        return error;
    model_.filePath = path;
    model_.displayName = displayName;
    model_.modified = false;
    return std::nullopt;
}

void Editor::restartHistory() {
    ChangeScope scope(*this);
    history_.restart(model_);
}

}  // namespace rek
