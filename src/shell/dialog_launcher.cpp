#include "shell/dialog_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>

#include "export/bmp_export_dialog.h"
#include "export/gif_export_dialog.h"
#include "export/image_library.h"
#include "resources/artwork.h"
#include "shell/dialogs/about_box.h"
#include "shell/dialogs/properties_dialog.h"
#include "shell/dialogs/settings_dialog.h"
#include "shell/file_association.h"

namespace rek {

namespace {

// The manual lies beside the program as an installation lays it out: <prefix>/bin/rektool and
// <prefix>/share/doc/rektool/README.md. A build keeps the same layout in its build folder.
QFileInfo installedManual() {
    return QFileInfo(QDir(QCoreApplication::applicationDirPath())
                         .filePath(QStringLiteral("../share/doc/rektool/README.md")));
}

}  // namespace

BrowseForPath DialogLauncher::exportChooser() {
    // The export dialog asks about overwriting itself, for the files it really writes.
    return [this](QWidget* owner, const SaveChooserRequest& request) -> std::optional<ChosenFile> {
        FileDialogState& chooser = state_.fileDialog;
        QString start = chooser.startLocation();
        if (!request.currentPath.isEmpty())
            start = QFileInfo(QDir(start), request.currentPath).absoluteFilePath();
        QStringList filters;
        for (const ChooserFilter& filter : request.filters)
            filters.push_back(filter.name);
        QString selected = filters.value(0);
        const QString path =
            QFileDialog::getSaveFileName(owner, request.title, start, filters.join(";;"), &selected,
                                         QFileDialog::DontConfirmOverwrite);
        if (path.isEmpty())
            return std::nullopt;
        chooser.path = path;
        chooser.useInitialFolder = false;
        return ChosenFile{
            path, static_cast<std::size_t>(std::max<qsizetype>(filters.indexOf(selected), 0))};
    };
}

template <typename Dialog>
void DialogLauncher::runExport() {
    const Model& model = state_.editor.model();
    Dialog dialog(state_.editor.snapshot(),
                  QFile::decodeName(QByteArray::fromStdString(model.filePath)),
                  state_.exportSettings, exportChooser(), owner_);
    // The animation goes on behind the dialog while the export runs on its worker; the result
    // is reported in front of the main window.
    dialog.setAfterExport([owner = owner_->window()] {
        owner->raise();
        owner->activateWindow();
    });
    dialog.exec();
}

void DialogLauncher::exportGif() {
    runExport<GifExportDialog>();
}

void DialogLauncher::exportBmp() {
    runExport<BmpExportDialog>();
}

void DialogLauncher::properties(bool newModel) {
    PropertiesDialog dialog(
        state_.editor, newModel ? PropertiesDialog::Mode::NewModel : PropertiesDialog::Mode::Normal,
        owner_);
    dialog.exec();
}

void DialogLauncher::settings() {
    AssociationTarget association;
    association.dataHome = defaultDataHome();
    association.configHome = defaultConfigHome();
    association.systemDataDirs = defaultSystemDataDirs();
    association.executablePath = QCoreApplication::applicationFilePath();
    association.documentIcon = modelDocumentIcon().pixmap(256).toImage();
    association.programIcon = programIcon().pixmap(256).toImage();
    SettingsDialog dialog(state_.settings.openInVtrMode, association, owner_);
    dialog.exec();
}

void DialogLauncher::about() {
    AboutInfo info;
    info.imageLibraryLine = QString::fromStdString(imageLibraryVersionLine());
    info.thanks = {QString::fromStdString(imageLibraryAuthors()),
                   QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()))};
    const QFileInfo manual = installedManual();
    if (manual.exists()) {
        info.home = AboutLink{manual.fileName(), QUrl::fromLocalFile(manual.canonicalFilePath())};
    }
    AboutBox box(info, owner_);
    box.exec();
}

}  // namespace rek
