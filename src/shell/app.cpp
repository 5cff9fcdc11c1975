#include "shell/app.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "resources/resources_init.h"
#include "shell/app_state.h"
#include "shell/config_record.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/termination_signals.h"
#include "shell/text/messages.h"
#include "shell/ui/dialog_style.h"
#include "shell/ui/message_box.h"

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

}  // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("rektool"));
    QApplication::setFont(dialogFont());
}

int runEditor(int argc, char** argv) {
    QApplication application(argc, argv);
    configureApplication();
    initResources();

    QString path = pathFromCommandLine(QApplication::arguments().mid(1));
    if (!path.isEmpty())
        path = QFileInfo(path).absoluteFilePath();

    SingleInstance instance(SingleInstance::defaultRuntimeDir());
    if (!instance.claim()) {
        if (!path.isEmpty() &&
            instance.sendOpenRequest(path) == SingleInstance::HandOff::Delivered) {
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

    MainWindow window(state);
    window.move(state.config.windowLeft, state.config.windowTop);
    window.show();
    window.activateWindow();
    window.canvas().setFocus();
    // Ready for a second start's file from here on, also while the command line's file opens
    // (its failure message runs an event loop).
    instance.setOpenHandler(
        [&window](const QString& requested) { return window.handleOpenRequest(requested); });

    // A model opened at start-up is where the history begins.
    if (!path.isEmpty() && window.openModelFile(path))
        state.editor.restartHistory();

    state.editor.seedRandom(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &window,
                     &QWidget::close);
    window.startTimers();

    const int exitCode = QApplication::exec();
    window.stopTimers();
    saveConfig(state, window);
    return exitCode;
}

}  // namespace rek
