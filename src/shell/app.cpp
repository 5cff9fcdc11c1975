#include "shell/app.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QStandardPaths>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resources_init.h"
#include "shell/app_state.h"
#include "shell/autosave.h"
#include "shell/command_line.h"
#include "shell/config_record.h"
#include "shell/file_association.h"
#include "shell/main_window.h"
#include "shell/native_path.h"
#include "shell/recovery_check.h"
#include "shell/recovery_store.h"
#include "shell/single_instance.h"
#include "shell/termination_signals.h"
#include "shell/text/language.h"
#include "shell/text/messages.h"
#include "shell/ui/dialog_style.h"
#include "shell/ui/message_box.h"
#include "shell/window_placement.h"

namespace rek {
namespace {

std::string configFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QFile::encodeName(QDir(folder).filePath(QStringLiteral("Config.dat"))).toStdString();
}

void saveConfig(AppState& state, const MainWindow& window) {
    ConfigRecord& config = state.config;
    config.version = kConfigVersion;
    config.windowLeft = window.pos().x();
    config.windowTop = window.pos().y();
    config.openInVtrMode = state.settings.openInVtrMode ? 1 : 0;
    storePropertiesInConfig(config, state.editor.model().properties);
    writeConfigFile(configFilePath(), config);
}

// The stored position, unless it lies off every screen (Config.dat may say anything).
void placeOnScreen(MainWindow& window, const ConfigRecord& config) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    window.move(placeWindow(config.windowLeft, config.windowTop, window.frameGeometry().size(),
                            screens, primary != nullptr ? primary->availableGeometry() : QRect()));
}

}  // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("rektool"));
    // The installed desktop entry, so that a Wayland compositor or a task bar can match the
    // windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
    QApplication::setFont(dialogFont());
}

int runEditor(int argc, char** argv, const EditorHooks& hooks) {
    QApplication application(argc, argv);
    configureApplication();
    initResources();

    // From argv itself: Qt has taken its own options out, and the path stays the bytes it is.
    const EditorCommandLine commandLine =
        readEditorCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    // The language before any text is made, for the whole run.
    useLanguage(commandLine.language.isEmpty() ? systemLanguage() : commandLine.language);
    if (const QString error = commandLineError(commandLine); !error.isEmpty()) {
        std::fprintf(stderr, "rektool: %s\n", error.toUtf8().constData());
        return 2;
    }
    std::string path = commandLine.path;
    if (!path.empty())
        path = absoluteNativePath(path);

    SingleInstance instance(SingleInstance::defaultRuntimeDir());
    if (!instance.claim()) {
        if (!path.empty() && instance.sendOpenRequest(path) == SingleInstance::HandOff::Delivered) {
            return 0;
        }
        showMessageBox(nullptr, messages::multipleStart());
        return 0;
    }

    const ConfigRecord config = readConfigFile(configFilePath()).value_or(ConfigRecord{});
    AppState state(propertiesFromConfig(config));
    state.config = config;
    state.settings.openInVtrMode = config.openInVtrMode != 0;
    state.fileDialog.initialFolder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(state.fileDialog.initialFolder).exists())
        state.fileDialog.initialFolder = QDir::homePath();

    MainWindow window(state, hooks.documentUi);
    placeOnScreen(window, state.config);
    window.show();
    window.activateWindow();
    window.canvas().setFocus();

    // The unsaved changes of an editor that ended without saving come first, over a drawn
    // window; a second start's file waits until they are settled.
    window.frameTick();
    RecoveryStore recovery(RecoveryStore::defaultFolder());
    recovery.claim();
    Autosave autosave(state.editor, recovery);
    offerRecovery(recovery, autosave, state.editor, window.documentUi());
    window.syncUi();

    // Ready for a second start's file from here on, also while the command line's file opens
    // (its failure message runs an event loop).
    instance.setOpenHandler(
        [&window](const std::string& requested) { return window.handleOpenRequest(requested); });

    // A model opened at start-up is where the history begins.
    if (!path.empty() && window.openModelFile(path))
        state.editor.restartHistory();

    state.editor.seedRandom(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    TerminationSignals terminations;
    // A logout may not wait for the close question: the changes are put safe first.
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &window,
                     [&autosave, &window] {
                         autosave.writeNow();
                         window.close();
                     });
    window.startTimers();
    autosave.start(Autosave::intervalFromEnvironment());
    if (hooks.started)
        hooks.started(state);

    const int exitCode = QApplication::exec();
    window.stopTimers();
    autosave.stop();
    // The window closed only after the user saved or chose not to.
    autosave.removeCopy();
    saveConfig(state, window);
    return exitCode;
}

}  // namespace rek
