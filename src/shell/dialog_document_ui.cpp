#include "shell/dialog_document_ui.h"

#include <QFileDialog>
#include <QFileInfo>

#include "shell/text/messages.h"
#include "shell/ui/message_box.h"

namespace rek {

SaveAnswer DialogDocumentUi::askSaveChanges() {
    switch (showMessageBox(owner_, messages::saveChanges(), MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return SaveAnswer::Yes;
        case MessageAnswer::No:
            return SaveAnswer::No;
        default:
            return SaveAnswer::Cancel;
    }
}

void DialogDocumentUi::showMessage(const UserMessage& message) {
    rek::showMessage(owner_, message);
}

std::optional<QString> DialogDocumentUi::chooseOpenPath(FileDialogState& chooser) {
    // The descriptions already name their patterns; don't show them twice.
    const QString path = QFileDialog::getOpenFileName(
        owner_, messages::openModelTitle(), chooser.startLocation(), messages::openModelFilters(),
        nullptr, QFileDialog::HideNameFilterDetails);
    if (path.isEmpty())
        return std::nullopt;
    chooser.path = path;
    return path;
}

std::optional<QString> DialogDocumentUi::chooseSavePath(FileDialogState& chooser) {
    const QString path = QFileDialog::getSaveFileName(
        owner_, messages::saveModelTitle(), chooser.startLocation(), messages::saveModelFilters(),
        nullptr, QFileDialog::HideNameFilterDetails);
    if (path.isEmpty())
        return std::nullopt;
    chooser.path = path;
    return path;
}

bool DialogDocumentUi::confirmOverwrite(const QString& path) {
    return showMessageBox(owner_, messages::alreadyExists(QFileInfo(path).fileName()),
                          MessageButtons::YesNo, MessageIcon::Warning) == MessageAnswer::Yes;
}

void DialogDocumentUi::runNewModelProperties() {
    launcher_.properties(/*newModel=*/true);
}

RecoveryAnswer DialogDocumentUi::askRecovery(const QString& displayName, const QDateTime& savedAt) {
    // The buttons in the catalogue's order: restore, discard, later.
    switch (showChoiceBox(owner_, messages::recoveryQuestion(displayName, savedAt),
                          messages::recoveryButtons())) {
        case 0:
            return RecoveryAnswer::Restore;
        case 1:
            return RecoveryAnswer::Discard;
        default:
            return RecoveryAnswer::Later;
    }
}

}  // namespace rek
