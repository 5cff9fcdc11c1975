#include "shell/document_commands.h"

#include <QFile>
#include <QFileInfo>

#include "model/model_file.h"
#include "shell/text/messages.h"

namespace rek {

namespace {

// Paths go to the file system as its bytes, whatever the locale makes of them.
std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

bool DocumentCommands::settleUnsavedChanges() {
    if (!state_.editor.model().modified)
        return true;
    switch (ui_.askSaveChanges()) {
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::No:
            return true;
        case SaveAnswer::Yes:
            return save();
    }
    return false;
}

bool DocumentCommands::newModel() {
    if (!settleUnsavedChanges())
        return false;
    ui_.runNewModelProperties();
    state_.editor.newDocument();
    state_.exportSettings = ExportSettings{};
    return true;
}

bool DocumentCommands::open() {
    const std::optional<QString> path = ui_.chooseOpenPath(state_.fileDialog);
    if (!path)
        return false;
    if (!openModelFile(QFileInfo(*path).fileName(), *path))
        return false;
    state_.fileDialog.useInitialFolder = false;
    return true;
}

bool DocumentCommands::openModelFile(const QString& displayName, const QString& path) {
    if (!settleUnsavedChanges())
        return false;

    ModelFileRead read = readModel(nativePath(path));
    if (const auto* error = std::get_if<ModelFileError>(&read)) {
        const UserMessage message = messages::modelFileError(*error);
        if (!message.empty())
            ui_.showMessage(message);
        return false;
    }
    state_.editor.replaceDocument(std::get<ModelFileContents>(std::move(read)), nativePath(path),
                                  displayName.toStdString(), state_.settings.openInVtrMode);
    state_.exportSettings = ExportSettings{};
    return true;
}

bool DocumentCommands::save() {
    const Model& model = state_.editor.model();
    if (model.filePath.empty())
        return saveAs();

    std::string path = model.filePath;
    std::string name = model.displayName;
    renameLegacyForSave(path, name);
    return writeTo(QFile::decodeName(QByteArray::fromStdString(path)),
                   QString::fromStdString(name));
}

bool DocumentCommands::saveAs() {
    FileDialogState& chooser = state_.fileDialog;
    chooser.path.clear();
    const std::optional<QString> chosen = ui_.chooseSavePath(chooser);
    if (!chosen)
        return false;
    chooser.useInitialFolder = false;

    QString path = *chosen;
    QString name = QFileInfo(path).fileName();
    // Case-sensitive on purpose: "a.RKM" becomes "a.RKM.rkm", as users of the program know.
    if (!path.endsWith(QStringLiteral(".rkm"))) {
        path += QStringLiteral(".rkm");
        name += QStringLiteral(".rkm");
        // The chooser asked about the name as typed; the file really written may exist too.
        if (QFileInfo::exists(path) && !ui_.confirmOverwrite(path))
            return false;
    }
    return writeTo(path, name);
}

bool DocumentCommands::writeTo(const QString& path, const QString& displayName) {
    if (const auto error =
            state_.editor.saveDocument(nativePath(path), displayName.toStdString())) {
        ui_.showMessage(messages::modelFileError(*error));
        return false;
    }
    return true;
}

bool DocumentCommands::confirmClose() {
    return settleUnsavedChanges();
}

}  // namespace rek
