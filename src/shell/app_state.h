#pragma once

#include <QString>

#include "canvas/editor.h"
#include "export/export_settings.h"
#include "shell/config_record.h"

namespace rek {

struct AppSettings {
    bool openInVtrMode = true;  // start a replay after every successful open
};

// Shared by the Open, Save As and export browse choosers while the program runs.
struct FileDialogState {
    QString path;           // the last chosen path; the next chooser starts there
    QString initialFolder;  // used until the first successful choice
    bool useInitialFolder = true;

    QString startLocation() const { return useInitialFolder ? initialFolder : path; }
};

// The program's whole state: the editor and what the shell keeps around it. `main` creates
// one; tests make their own.
struct AppState {
    explicit AppState(const ModelProperties& properties = ModelProperties{}) : editor(properties) {}

    Editor editor;
    AppSettings settings;
    ExportSettings exportSettings;
    FileDialogState fileDialog;
    ConfigRecord config;  // as read at start-up; written back at exit
};

}  // namespace rek
