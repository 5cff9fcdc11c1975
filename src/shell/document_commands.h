#pragma once

#include <QString>
#include <optional>

#include "model/user_message.h"
#include "shell/app_state.h"

namespace rek {

enum class SaveAnswer { Yes, No, Cancel };

// What the document commands need from the user interface. The main window shows real
// dialogs; tests answer from a script.
class DocumentUi {
  public:
    virtual ~DocumentUi() = default;
    virtual SaveAnswer askSaveChanges() = 0;
    virtual void showMessage(const UserMessage& message) = 0;
    virtual std::optional<QString> chooseOpenPath(FileDialogState& state) = 0;
    virtual std::optional<QString> chooseSavePath(FileDialogState& state) = 0;
    // Asked when ".rkm" appended to the chosen name hits an existing file.
    virtual bool confirmOverwrite(const QString& path) = 0;
    virtual void runNewModelProperties() = 0;
    // Draw and show one frame at once (New shows the empty model without waiting for a tick).
    virtual void presentFrameNow() = 0;
};

// New, Open, Save, Save As and the close question. A "Yes" to the save question whose save is
// cancelled or fails stops the command, so unsaved work is never dropped.
class DocumentCommands {
  public:
    DocumentCommands(AppState& state, DocumentUi& ui) : state_(state), ui_(ui) {}

    bool newModel();
    bool open();
    // The step every way of opening goes through: command, drop, hand-over, command line.
    bool openModelFile(const QString& displayName, const QString& path);
    bool save();
    bool saveAs();
    // True when the program may quit now.
    bool confirmClose();

  private:
    // Asks about unsaved changes; true when the caller may go on.
    bool settleUnsavedChanges();
    bool writeTo(const QString& path, const QString& displayName);

    AppState& state_;
    DocumentUi& ui_;
};

}  // namespace rek
