#pragma once

#include <QWidget>

#include "export/export_dialog.h"
#include "render/frame_renderer.h"
#include "shell/app_state.h"

namespace rek {

// Opens the modal dialogs with what each needs from the program state. The animation goes
// on behind them: the main window's timers keep running during exec().
class DialogLauncher {
  public:
    DialogLauncher(AppState& state, FrameRenderer& renderer, QWidget* parent)
        : state_(state), renderer_(renderer), parent_(parent) {}

    void properties(bool newModel);
    void settings();
    void about();
    void exportGif();
    void exportBmp();

  private:
    BrowseForPath exportChooser();
    std::function<void()> bringOwnerForward();

    AppState& state_;
    FrameRenderer& renderer_;
    QWidget* parent_;
};

}  // namespace rek
