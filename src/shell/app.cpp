#include "shell/app.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QStandardPaths>

#include "canvas/tool_modes.h"
#include "model/app_info.h"
#include "resources/resources_init.h"
#include "shell/app_state.h"
#include "shell/config_record.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"
#include "shell/termination_signals.h"

namespace rek {
namespace {

QString configFilePath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(folder).filePath(QStringLiteral("Config.dat"));
}

void applyConfig(AppState& state, const ConfigRecord& config) {
    state.config = config;
    state.settings.openInVtrMode = config.openInVtrMode != 0;
    state.editor.model.properties = propertiesFromConfig(config);
}

void saveConfig(AppState& state, const MainWindow& window) {
    ConfigRecord& config = state.config;
    config.version = kConfigVersion;
    config.windowLeft = window.pos().x();
    config.windowTop = window.pos().y();
    config.openInVtrMode = state.settings.openInVtrMode ? 1 : 0;
    storePropertiesInConfig(config, state.editor.model.properties);
    writeConfigFile(configFilePath().toStdString(), config);
}

void showMultipleStartMessage() {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle),
                    QStringLiteral("複数起動は禁止されています。"), QMessageBox::Ok);
    box.exec();
}

}  // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("rektool"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
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
        showMultipleStartMessage();
        return 0;
    }

    AppState state;
    applyConfig(state, readConfigFile(configFilePath().toStdString()).value_or(ConfigRecord{}));
    state.fileDialog.initialFolder =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(state.fileDialog.initialFolder).exists()) {
        state.fileDialog.initialFolder = QDir::homePath();
    }

    MainWindow window(state);
    window.move(state.config.windowLeft, state.config.windowTop);
    window.show();
    window.activateWindow();
    window.canvas().setFocus();
    refreshModeDisplay(state.editor);
    window.syncUi();
    // Ready for a second start's file from here on, also while the command line's file opens
    // (its failure message runs an event loop).
    instance.setOpenHandler(
        [&window](const QString& requested) { return window.handleOpenRequest(requested); });

    const bool opened = !path.isEmpty() && window.openModelFile(path);
    if (!opened)
        state.editor.history.recordSnapshot(state.editor.model);
    window.syncUi();

    state.editor.random.seed(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
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
