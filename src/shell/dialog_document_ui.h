#pragma once

#include <QWidget>

#include "shell/dialog_launcher.h"
#include "shell/document_commands.h"

namespace rek {

// The document commands' questions asked with real dialogs: the save question and the
// overwrite question as message boxes, the file choosers, and the new model's properties.
class DialogDocumentUi : public DocumentUi {
  public:
    DialogDocumentUi(DialogLauncher& launcher, QWidget* owner)
        : launcher_(launcher), owner_(owner) {}

    SaveAnswer askSaveChanges() override;
    void showMessage(const UserMessage& message) override;
    std::optional<QString> chooseOpenPath(FileDialogState& state) override;
    std::optional<QString> chooseSavePath(FileDialogState& state) override;
    bool confirmOverwrite(const QString& path) override;
    void runNewModelProperties() override;
    RecoveryAnswer askRecovery(const QString& displayName, const QDateTime& savedAt) override;

  private:
    DialogLauncher& launcher_;
    QWidget* owner_;
};

}  // namespace rek
