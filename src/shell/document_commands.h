#pragma once

#include <QDateTime>
#include <QString>
#include <optional>
#include <string>

#include "shell/app_state.h"
#include "shell/text/user_message.h"

namespace rek {

enum class SaveAnswer { Yes, No, Cancel };
enum class RecoveryAnswer { Restore, Discard, Later };

// What the document commands need from the user: the main window shows real dialogs
// (DialogDocumentUi); tests answer from a script.
class DocumentUi {
  public:
    virtual ~DocumentUi() = default;
    virtual SaveAnswer askSaveChanges() = 0;
    virtual void showMessage(const UserMessage& message) = 0;
    virtual std::optional<QString> chooseOpenPath(FileDialogState& state) = 0;
    virtual std::optional<QString> chooseSavePath(FileDialogState& state) = 0;
    // Asked when ".rkm" appended to the chosen name hits an existing file.
    virtual bool confirmOverwrite(const QString& path) = 0;
    // The properties dialog of a new model, before the drawing is emptied.
    virtual void runNewModelProperties() = 0;
    // At start-up: what to do with the unsaved changes of an editor that ended without saving.
    virtual RecoveryAnswer askRecovery(const QString& displayName, const QDateTime& savedAt) = 0;
};

// New, Open, Save, Save As and the close question. A "Yes" to the save question whose save is
// cancelled or fails stops the command, so unsaved work is never dropped. Paths are the file
// system's bytes; the chooser's text is turned into bytes once.
class DocumentCommands {
  public:
    DocumentCommands(AppState& state, DocumentUi& ui) : state_(state), ui_(ui) {}

    bool newModel();
    bool open();
    // The step every way of opening goes through: command, drop, hand-over, command line.
    bool openModelFile(const std::string& path);
    bool save();
    bool saveAs();
    // True when the program may quit now.
    bool confirmClose();

  private:
    // Asks about unsaved changes; true when the caller may go on.
    bool settleUnsavedChanges();
    bool writeTo(const std::string& path, const std::string& displayName);

    AppState& state_;
    DocumentUi& ui_;
};

}  // namespace rek
