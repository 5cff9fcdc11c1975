#pragma once

#include <QAction>
#include <QMainWindow>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <memory>
#include <optional>

#include "canvas/canvas_input.h"
#include "canvas/canvas_window.h"
#include "canvas/tool_modes.h"
#include "model/command_id.h"
#include "render/animation_clock.h"
#include "render/frame_renderer.h"
#include "shell/app_state.h"
#include "shell/document_commands.h"
#include "shell/status_panel.h"

namespace rek {

// The program's only top-level window: toolbar, the canvas centred in a grey area, and the
// status bar. Every command arrives here, from a button or a key; the animation timers run
// here too. After anything that may change the state, syncUi() brings the title, toolbar,
// status texts, cursor and canvas geometry up to date, touching only what changed.
class MainWindow : public QMainWindow, private DocumentUi {
    Q_OBJECT
  public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    void runCommand(CommandId command);
    // The shared step of Open, drops, the command line and a second start's hand-over.
    bool openModelFile(const QString& path);
    // A second start handed over a path: come to the front, then open it.
    bool handleOpenRequest(const QString& path);

    // One frame step and one wobble step, as the timers run them.
    void frameTick();
    void wobbleTick();
    void startTimers();
    void stopTimers();

    // Applies the state to the widgets; cheap, and sets only what differs.
    void syncUi();

    CanvasWindow& canvas() { return *canvas_; }
    QAction* action(CommandId command) { return actions_[static_cast<int>(command)]; }
    const StatusPanel& statusPanel() const { return *status_; }
    FrameRenderer& renderer() { return renderer_; }
    DocumentCommands& documents() { return documents_; }

    // For tests: answers to give instead of showing the save question and file choosers.
    void setDocumentUiForTesting(DocumentUi* ui);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildToolbar();
    void buildShortcuts();
    void layoutCanvas();
    void presentFrame();
    void onInputHandled(const InputOutcome& outcome);
    void refreshProgress();
    void openExportDialog(CommandId command);
    void showProperties();
    void showSettings();
    void showAbout();
    void forceForeground();
    void showInfo(const QString& text, MessageIcon icon = MessageIcon::None);

    // DocumentUi
    SaveAnswer askSaveChanges() override;
    void showMessage(const UserMessage& message) override;
    std::optional<QString> chooseOpenPath(FileDialogState& state) override;
    std::optional<QString> chooseSavePath(FileDialogState& state) override;
    bool confirmOverwrite(const QString& path) override;
    void runNewModelProperties() override;
    void presentFrameNow() override;

    AppState& state_;
    FrameRenderer renderer_;
    AnimationClock clock_;
    DocumentCommands documents_;
    DocumentUi* testUi_ = nullptr;

    QToolBar* toolbar_ = nullptr;
    QWidget* canvasArea_ = nullptr;
    CanvasWindow* canvas_ = nullptr;
    StatusPanel* status_ = nullptr;
    std::array<QAction*, kCommandCount> actions_{};
    QTimer frameTimer_;
    QTimer wobbleTimer_;

    QString lastTitle_;
    bool progressShown_ = false;
    int progressMaximum_ = 0;
    std::optional<CursorKind> shownCursor_;
};

}  // namespace rek
