#pragma once

#include <QWidget>
#include <functional>

#include "export/export_dialog.h"
#include "shell/app_state.h"

namespace rek {

// Opens the modal dialogs with what each needs from the program state. The animation goes on
// behind them (the main window's timers keep running during exec()), except while an export
// draws its frames.
class DialogLauncher {
  public:
    DialogLauncher(AppState& state, QWidget* owner) : state_(state), owner_(owner) {}

    // Called with true when an export starts and false when it ends: no animation meanwhile.
    void setAnimationPause(std::function<void(bool)> pause) { pauseAnimation_ = std::move(pause); }

    void properties(bool newModel);
    void settings();
    void about();
    void exportGif();
    void exportBmp();

  private:
    BrowseForPath exportChooser();
    template <typename Dialog>
    void runExport();

    AppState& state_;
    QWidget* owner_;
    std::function<void(bool)> pauseAnimation_;
};

}  // namespace rek
