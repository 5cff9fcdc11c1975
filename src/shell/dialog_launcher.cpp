#include "shell/dialog_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "export/export_dialog.h"
#include "export/image_library.h"
#include "resources/artwork.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/file_association.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell/dialogs/settings_dialog.h"

namespace rek {

void DialogLauncher::properties(bool newModel) {
    PropertiesDialog dialog(
        state_.editor, newModel ? PropertiesDialog::Mode::NewModel : PropertiesDialog::Mode::Normal,
        parent_);
    dialog.exec();
}

void DialogLauncher::settings() {
    AssociationTarget association;
    association.dataHome = defaultDataHome();
    association.executablePath = QCoreApplication::applicationFilePath();
    association.documentIcon = modelDocumentIcon().pixmap(256).toImage();
    association.programIcon = programIcon().pixmap(256).toImage();
    SettingsDialog dialog(state_.settings.openInVtrMode, association, parent_);
    dialog.exec();
}

void DialogLauncher::about() {
    AboutInfo info;
    info.imageLibraryLine = QString::fromStdString(imageLibraryVersionLine());
    info.thanks = {QString::fromStdString(imageLibraryAuthors()),
                   QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()))};
    const QFileInfo manual(QStringLiteral(REK_MANUAL_PATH));
    if (manual.exists()) {
        info.home = AboutLink{manual.fileName(), QUrl::fromLocalFile(manual.absoluteFilePath())};
    }
    AboutBox box(info, parent_);
    box.exec();
}

BrowseForPath DialogLauncher::exportChooser() {
    // The export dialog asks about overwriting itself, for the files it really writes.
    return [this](QWidget* owner, const SaveChooserRequest& request) -> std::optional<QString> {
        FileDialogState& chooser = state_.fileDialog;
        QString start = chooser.startLocation();
        if (!request.currentPath.isEmpty()) {
            start = QFileInfo(QDir(start), request.currentPath).absoluteFilePath();
        }
        const QString path = QFileDialog::getSaveFileName(
            owner, request.title, start,
            QStringLiteral("%1 (%2)").arg(request.filterName, request.pattern), nullptr,
            QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        chooser.path = path;
        chooser.useInitialFolder = false;
        return path;
    };
}

std::function<void()> DialogLauncher::bringOwnerForward() {
    return [owner = parent_->window()] {
        owner->raise();
        owner->activateWindow();
    };
}

void DialogLauncher::exportGif() {
    GifExportDialog dialog(state_.editor, renderer_, state_.exportSettings, exportChooser(),
                           parent_);
    dialog.setAfterExport(bringOwnerForward());
    dialog.exec();
}

void DialogLauncher::exportBmp() {
    BmpExportDialog dialog(state_.editor, renderer_, state_.exportSettings, exportChooser(),
                           parent_);
    dialog.setAfterExport(bringOwnerForward());
    dialog.exec();
}

}  // namespace rek
