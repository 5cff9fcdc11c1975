#include "shell/document_commands.h"

#include <QFileInfo>

#include "canvas/tool_modes.h"
#include "model/model_file.h"
#include "render/animation_clock.h"

namespace rek {

bool DocumentCommands::settleUnsavedChanges() {
    if (!state_.editor.model.modified)
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

    EditorState& editor = state_.editor;
    clearVertices(editor.model);
    editor.model.selectionExists = false;
    ui_.presentFrameNow();
    editor.wobbleEnabled = true;
    editor.model.modified = false;
    editor.drawnVertexCount = 0;
    editor.model.displayName.clear();
    editor.model.filePath.clear();
    state_.exportSettings = ExportSettings{};
    editor.history.recordSnapshot(editor.model);
    refreshModeDisplay(editor);
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

    EditorState& editor = state_.editor;
    const LoadResult result =
        loadModel(editor.model, editor.tool, editor.history, path.toStdString());
    if (!result.ok) {
        if (!result.message.empty())
            ui_.showMessage(result.message);
        return false;
    }
    editor.wobbleEnabled = true;
    editor.drawnVertexCount = countVertices(editor.model);
    state_.exportSettings = ExportSettings{};
    editor.model.displayName = displayName.toStdString();
    editor.model.filePath = path.toStdString();
    editor.model.modified = false;

    stopVtr(editor);
    if (state_.settings.openInVtrMode)
        startVtr(editor);
    refreshModeDisplay(editor);
    return true;
}

bool DocumentCommands::save() {
    Model& model = state_.editor.model;
    if (model.filePath.empty())
        return saveAs();

    std::string path = model.filePath;
    std::string name = model.displayName;
    renameLegacyForSave(path, name);
    return writeTo(QString::fromStdString(path), QString::fromStdString(name));
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
    Model& model = state_.editor.model;
    const SaveResult result = saveModel(model, path.toStdString());
    if (!result.ok) {
        ui_.showMessage(result.message);
        return false;
    }
    model.filePath = path.toStdString();
    model.displayName = displayName.toStdString();
    model.modified = false;
    return true;
}

bool DocumentCommands::confirmClose() {
    return settleUnsavedChanges();
}

}  // namespace rek
