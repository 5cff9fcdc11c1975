#pragma once

#include <QWidget>
#include <functional>

#include "export/export_dialog.h"
#include "shell/app_state.h"

namespace rek {

// Opens the modal dialogs with what each needs from the program state. The animation goes on
// behind them (the main window's timers keep running during exec()), exports included: they
// draw their frames on a worker thread from a snapshot.
class DialogLauncher {
  public:
    DialogLauncher(AppState& state, QWidget* owner) : state_(state), owner_(owner) {}

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
};

}  // namespace rek
