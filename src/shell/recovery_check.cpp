#include "shell/recovery_check.h"

#include <QDateTime>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "canvas/editor.h"
#include "shell/autosave.h"
#include "shell/document_commands.h"
#include "shell/native_path.h"
#include "shell/recovery_store.h"
#include "shell/text/messages.h"

namespace rek {

void offerRecovery(RecoveryStore& store, Autosave& autosave, Editor& editor, DocumentUi& ui) {
    std::vector<AbandonedCopy> readable;
    ModelFileContents newest;
    std::optional<std::string> unreadableIn;  // where the copies that cannot be read now are
    for (AbandonedCopy& copy : store.findAbandoned()) {
        // Only the newest is kept in memory; the others are only checked.
        ModelFileRead read = store.readCopy(copy);
        if (std::holds_alternative<ModelFileError>(read)) {
            unreadableIn = store.keepAside(copy) ? store.keptAsideFolder() : store.folder();
            continue;
        }
        if (readable.empty())
            newest = std::get<ModelFileContents>(std::move(read));
        readable.push_back(std::move(copy));
    }
    if (unreadableIn)
        ui.showMessage(messages::recoveryUnreadable(pathForDisplay(*unreadableIn)));
    if (readable.empty())
        return;

    const AbandonedCopy& offered = readable.front();
    const std::string& path = offered.record.originalPath;
    const QString name = path.empty() ? QString() : fileNameForDisplay(path);
    switch (ui.askRecovery(name, QDateTime::fromMSecsSinceEpoch(offered.record.savedAtMs))) {
        case RecoveryAnswer::Restore:
            editor.restoreDocument(std::move(newest), path, name.toStdString());
            editor.restartHistory();  // undo does not go back to the empty start
            // The old copy goes only once this process holds its own.
            if (autosave.writeNow())
                store.discard(offered);
            else
                store.release(offered);
            for (std::size_t i = 1; i < readable.size(); ++i)
                store.release(readable[i]);
            break;
        case RecoveryAnswer::Discard:
            for (const AbandonedCopy& copy : readable)
                store.discard(copy);
            break;
        case RecoveryAnswer::Later:
            for (const AbandonedCopy& copy : readable)
                store.release(copy);
            break;
    }
}

}  // namespace rek
