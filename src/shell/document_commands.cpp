#include "shell/document_commands.h"

#include <filesystem>

#include "model/model_file.h"
#include "shell/native_path.h"
#include "shell/text/messages.h"

namespace rek {

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
    if (!openModelFile(nativePath(*path)))
        return false;
    state_.fileDialog.useInitialFolder = false;
    return true;
}

bool DocumentCommands::openModelFile(const std::string& path) {
    if (!settleUnsavedChanges())
        return false;

    ModelFileRead read = readModel(path);
    if (const auto* error = std::get_if<ModelFileError>(&read)) {
        const UserMessage message = messages::modelFileError(*error);
        if (!message.empty())
            ui_.showMessage(message);
        return false;
    }
    state_.editor.replaceDocument(std::get<ModelFileContents>(std::move(read)), path,
                                  fileNameForDisplay(path).toStdString(),
                                  state_.settings.openInVtrMode);
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
    return writeTo(path, name);
}

bool DocumentCommands::saveAs() {
    FileDialogState& chooser = state_.fileDialog;
    chooser.path.clear();
    const std::optional<QString> chosen = ui_.chooseSavePath(chooser);
    if (!chosen)
        return false;
    chooser.useInitialFolder = false;

    std::string path = nativePath(*chosen);
    // Case-sensitive on purpose: "a.RKM" becomes "a.RKM.rkm", as users of the program know.
    if (!path.ends_with(".rkm")) {
        path += ".rkm";
        // The chooser asked about the name as typed; the file really written may exist too.
        std::error_code error;
        if (std::filesystem::exists(path, error) && !ui_.confirmOverwrite(pathForDisplay(path)))
            return false;
    }
    return writeTo(path, fileNameForDisplay(path).toStdString());
}

bool DocumentCommands::writeTo(const std::string& path, const std::string& displayName) {
    if (const auto error = state_.editor.saveDocument(path, displayName)) {
        ui_.showMessage(messages::modelFileError(*error));
        return false;
    }
    return true;
}

bool DocumentCommands::confirmClose() {
    return settleUnsavedChanges();
}

}  // namespace rek
