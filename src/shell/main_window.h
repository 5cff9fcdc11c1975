#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "canvas/canvas_window.h"
#include "canvas/editor.h"
#include "render/frame_renderer.h"
#include "shell/app_state.h"
#include "shell/command_id.h"
#include "shell/dialog_launcher.h"
#include "shell/document_commands.h"
#include "shell/status_panel.h"

namespace rek {

// The program's only top-level window: toolbar, the canvas centred in a grey area, and the
// status bar. Every command arrives here, from a button or a key; the animation timers run
// here too. Whenever the editor reports a change, syncUi() brings the title, toolbar, status
// texts and cursor up to date, touching only what differs.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // `documentUi` answers the document commands' questions; the window shows real dialogs
    // when none is given (tests give a scripted one, not owned).
    explicit MainWindow(AppState& state, DocumentUi* documentUi = nullptr,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    void runCommand(CommandId command);
    // The shared step of Open, drops, the command line and a second start's hand-over; the
    // path is the file system's bytes.
    bool openModelFile(const std::string& path);
    // A second start handed over a path: come to the front, then open it.
    bool handleOpenRequest(const std::string& path);

    // One frame step and one wobble step, as the timers run them.
    void frameTick();
    void wobbleTick();
    void startTimers();
    void stopTimers();

    // Applies the state to the widgets; cheap, and sets only what differs.
    void syncUi();

    CanvasWindow& canvas() { return *canvas_; }
    // Who answers the document questions: the start-up's recovery question asks there too.
    DocumentUi& documentUi() { return documentUi_; }
    QAction* action(CommandId command) { return actions_[static_cast<int>(command)]; }
    const StatusPanel& statusPanel() const { return *status_; }
    const FrameRenderer& renderer() const { return renderer_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildToolbar();
    void buildShortcuts();
    void layoutCanvas();
    void onEditorChanged(const EditorChanges& changes);
    void openExportDialog(CommandId command);
    void forceForeground();

    AppState& state_;
    Editor& editor_;
    FrameRenderer renderer_;
    DialogLauncher dialogs_;
    std::unique_ptr<DocumentUi> ownDocumentUi_;
    DocumentUi& documentUi_;
    DocumentCommands documents_;

    QToolBar* toolbar_ = nullptr;
    QWidget* canvasArea_ = nullptr;
    CanvasWindow* canvas_ = nullptr;
    StatusPanel* status_ = nullptr;
    std::array<QAction*, kCommandCount> actions_{};
    QTimer frameTimer_;
    QTimer wobbleTimer_;

    QString shownTitle_;
    std::optional<std::int32_t> shownVertexCount_;
    bool progressShown_ = false;
    int progressMaximum_ = 0;
    std::optional<CursorKind> shownCursor_;
};

}  // namespace rek
