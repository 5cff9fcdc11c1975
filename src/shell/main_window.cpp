#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QWindow>

#include "canvas/tool_modes.h"
#include "model/app_info.h"
#include "resources/artwork.h"
#include "shell/command_table.h"
#include "shell/dialog_launcher.h"
#include "shell/editor_commands.h"
#include "shell/window_texts.h"

namespace rek {
namespace {

constexpr int kFramePeriodMs = 30;
constexpr int kWobblePeriodMs = 60;

const char* const kNoModelMessage = "レクモデルがありません。";
const char* const kSaveQuestion = "変更されたファイルを保存しますか？";

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QCursor cursorFor(CursorKind kind) {
    switch (kind) {
        case CursorKind::Arrow:
            return QCursor(Qt::ArrowCursor);
        case CursorKind::Select:
            return selectCursor();
        case CursorKind::SelectAdd:
            return selectAddCursor();
        case CursorKind::SelectRemove:
            return selectRemoveCursor();
        case CursorKind::ResizeHorizontal:
            return QCursor(Qt::SizeHorCursor);
        case CursorKind::MoveAll:
            return QCursor(Qt::SizeAllCursor);
    }
    return QCursor(Qt::ArrowCursor);
}

KeyModifiers currentModifiers() {
    const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    return KeyModifiers{held.testFlag(Qt::ControlModifier), held.testFlag(Qt::ShiftModifier)};
}

}  // namespace

MainWindow::MainWindow(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), documents_(state, *this) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());
    setAcceptDrops(true);

    buildToolbar();

    canvasArea_ = new QWidget(this);
    canvasArea_->setAutoFillBackground(true);
    QPalette grey = canvasArea_->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    canvasArea_->setPalette(grey);
    setCentralWidget(canvasArea_);

    canvas_ = new CanvasWindow(state_.editor, renderer_, canvasArea_);
    connect(canvas_, &CanvasWindow::inputHandled, this, &MainWindow::onInputHandled);
    connect(canvas_, &CanvasWindow::borderDragStepped, this, [this] {
        frameTick();
        syncUi();
    });
    connect(canvas_, &CanvasWindow::borderDragFinished, this, [this] {
        layoutCanvas();
        syncUi();
    });

    status_ = new StatusPanel(this);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(false);

    buildShortcuts();

    // The window is sized for the largest canvas; smaller ones are centred in it.
    const QSize largest = CanvasWindow::outerSizeFor(kMaxCanvasWidth, kMaxCanvasHeight);
    canvasArea_->setFixedSize(largest);
    setFixedSize(sizeHint());

    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(kFramePeriodMs);
    connect(&frameTimer_, &QTimer::timeout, this, &MainWindow::frameTick);
    wobbleTimer_.setTimerType(Qt::PreciseTimer);
    wobbleTimer_.setInterval(kWobblePeriodMs);
    connect(&wobbleTimer_, &QTimer::timeout, this, &MainWindow::wobbleTick);

    layoutCanvas();
    syncUi();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 15));
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolbar_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    for (const CommandInfo& info : commandTable()) {
        auto* action = new QAction(toolbarIcon(info.imageIndex), QString(), this);
        action->setToolTip(QString::fromUtf8(info.tooltip));
        action->setCheckable(info.checkable);
        const CommandId id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[static_cast<int>(id)] = action;
    }
    for (const std::optional<CommandId>& entry : toolbarLayout()) {
        if (entry) {
            toolbar_->addAction(action(*entry));
        } else {
            toolbar_->addSeparator();
        }
    }
}

void MainWindow::buildShortcuts() {
    // Keys are separate from the buttons: they keep working while a replay disables the
    // toolbar (New, Open, M and Shift+Z act during replay; the commands decide the rest).
    for (const CommandInfo& info : commandTable()) {
        for (const QKeySequence& keys : {info.keys, info.alternateKeys}) {
            if (keys.isEmpty())
                continue;
            auto* shortcut = new QShortcut(keys, this);
            shortcut->setContext(Qt::WindowShortcut);
            const CommandId id = info.id;
            // Holding a key steps through undo, redo and deletion; toggles must not flicker.
            shortcut->setAutoRepeat(id == CommandId::Undo || id == CommandId::Redo ||
                                    id == CommandId::DeleteLastVertex);
            connect(shortcut, &QShortcut::activated, this, [this, id] { runCommand(id); });
        }
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::runCommand(CommandId command) {
    EditorState& editor = state_.editor;
    if (const auto outcome = runEditorCommand(editor, command)) {
        if (outcome->canvasSizeChanged) {
            frameTick();
            layoutCanvas();
        }
        syncUi();
        return;
    }

    switch (command) {
        case CommandId::New:
            documents_.newModel();
            break;
        case CommandId::Open:
            documents_.open();
            break;
        case CommandId::Save:
            documents_.save();
            break;
        case CommandId::SaveAs:
            documents_.saveAs();
            break;
        case CommandId::ExportGif:
        case CommandId::ExportBmp:
            openExportDialog(command);
            break;
        case CommandId::Properties:
            showProperties();
            break;
        case CommandId::Settings:
            showSettings();
            break;
        case CommandId::About:
            showAbout();
            break;
        default:
            break;
    }
    layoutCanvas();
    syncUi();
}

bool MainWindow::openModelFile(const QString& path) {
    const bool opened = documents_.openModelFile(QFileInfo(path).fileName(), path);
    layoutCanvas();
    syncUi();
    return opened;
}

bool MainWindow::handleOpenRequest(const QString& path) {
    if (isMinimized())
        showNormal();
    forceForeground();
    const bool opened = openModelFile(path);
    if (opened)
        state_.fileDialog.useInitialFolder = false;
    return opened;
}

void MainWindow::forceForeground() {
    show();
    raise();
    activateWindow();
    if (QWindow* window = windowHandle())
        window->requestActivate();
}

void MainWindow::frameTick() {
    EditorState& editor = state_.editor;
    if (editor.exportBusy)
        return;
    const FrameTickResult result = clock_.frameTick(editor, renderer_, canvas_->samplePointer());
    if (result.vertexCountText) {
        status_->setPartText(StatusPanel::VertexCount, qs(*result.vertexCountText));
    }
    if (result.vtrEnded)
        refreshModeDisplay(editor);
    if (result.vtrEnded || result.vtrStepped)
        syncUi();
    presentFrame();
}

void MainWindow::wobbleTick() {
    rek::wobbleTick(state_.editor);
}

void MainWindow::startTimers() {
    frameTimer_.start();
    wobbleTimer_.start();
}

void MainWindow::stopTimers() {
    frameTimer_.stop();
    wobbleTimer_.stop();
}

void MainWindow::presentFrame() {
    canvas_->update();
}

void MainWindow::presentFrameNow() {
    frameTick();
    canvas_->repaint();
}

void MainWindow::layoutCanvas() {
    const ModelProperties& p = state_.editor.model.properties;
    const QSize outer = CanvasWindow::outerSizeFor(p.width, p.height);
    const QSize area = canvasArea_->size();
    // Halves round toward zero, so a canvas larger than the area gets a negative offset.
    const int left = (area.width() - outer.width()) / 2;
    const int top = (area.height() - outer.height()) / 2;
    if (canvas_->borderDragActive())
        return;
    canvas_->setGeometry(left, top, outer.width(), outer.height());
}

void MainWindow::syncUi() {
    EditorState& editor = state_.editor;
    const QString title = qs(rek::windowTitle(editor.model));
    if (title != lastTitle_) {
        setWindowTitle(title);
        lastTitle_ = title;
    }
    status_->setPartText(StatusPanel::Size, qs(sizeStatusText(editor.model.properties)));

    const ModeDisplay display = describeModeDisplay(editor, currentModifiers());
    status_->setPartText(StatusPanel::Hint, qs(display.hint));
    for (int i = 0; i < kCommandCount; ++i) {
        QAction* button = actions_[i];
        if (button->isEnabled() != display.buttons[i].enabled) {
            button->setEnabled(display.buttons[i].enabled);
        }
        if (button->isCheckable() && button->isChecked() != display.buttons[i].checked) {
            button->setChecked(display.buttons[i].checked);
        }
    }
    // The range follows the model: a replay may restart for another one (an open during a
    // replay) or the drawing may change under it.
    const int progressMaximum = static_cast<int>(
        std::min<std::uint32_t>(display.progressMaximum, static_cast<std::uint32_t>(INT32_MAX)));
    if (display.progressVisible) {
        if (!progressShown_ || progressMaximum != progressMaximum_)
            status_->showProgress(progressMaximum);
    } else if (progressShown_) {
        status_->hideProgress();
    }
    progressShown_ = display.progressVisible;
    progressMaximum_ = progressMaximum;
    refreshProgress();
    // Built and handed to the window system only on a change: this runs for every mouse
    // event and every replay frame.
    if (display.cursor != shownCursor_) {
        canvas_->setToolCursor(cursorFor(display.cursor));
        shownCursor_ = display.cursor;
    }
}

void MainWindow::refreshProgress() {
    if (!progressShown_)
        return;
    const std::uint32_t drawn = state_.editor.playback.vtrDrawnLength;
    status_->setProgress(static_cast<int>(std::min<std::uint32_t>(drawn, INT32_MAX)));
}

void MainWindow::onInputHandled(const InputOutcome& outcome) {
    if (!outcome.message.empty())
        showMessage(outcome.message);
    syncUi();
}

void MainWindow::openExportDialog(CommandId command) {
    EditorState& editor = state_.editor;
    editor.drawnVertexCount = countVertices(editor.model);
    if (editor.drawnVertexCount == 0) {
        showInfo(QString::fromUtf8(kNoModelMessage));
        return;
    }
    DialogLauncher launcher(state_, renderer_, this);
    if (command == CommandId::ExportGif) {
        launcher.exportGif();
    } else {
        launcher.exportBmp();
    }
}

void MainWindow::showProperties() {
    DialogLauncher(state_, renderer_, this).properties(/*newModel=*/false);
}

void MainWindow::showSettings() {
    DialogLauncher(state_, renderer_, this).settings();
}

void MainWindow::showAbout() {
    DialogLauncher(state_, renderer_, this).about();
}

void MainWindow::showInfo(const QString& text, MessageIcon icon) {
    if (testUi_)
        return testUi_->showMessage(UserMessage{text.toStdString(), icon});
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromUtf8(kAppTitle), text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::setDocumentUiForTesting(DocumentUi* ui) {
    testUi_ = ui;
}

SaveAnswer MainWindow::askSaveChanges() {
    if (testUi_)
        return testUi_->askSaveChanges();
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle),
                    QString::fromUtf8(kSaveQuestion),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveAnswer::Yes;
        case QMessageBox::No:
            return SaveAnswer::No;
        default:
            return SaveAnswer::Cancel;
    }
}

void MainWindow::showMessage(const UserMessage& message) {
    showInfo(qs(message.text), message.icon);
}

std::optional<QString> MainWindow::chooseOpenPath(FileDialogState& chooser) {
    if (testUi_)
        return testUi_->chooseOpenPath(chooser);
    const QString filter = QStringLiteral(
        "レクツール関係ファイル(*.rkm,*rk2) (*.rkm *rk2);;"
        "レクモデルファイル(*.rkm) (*.rkm);;"
        "旧レクツールファイル(*.rk2) (*.rk2)");
    // The descriptions already name their patterns; don't show them twice.
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("レクモデルファイルの読み込み"), chooser.startLocation(), filter,
        nullptr, QFileDialog::HideNameFilterDetails);
    if (path.isEmpty())
        return std::nullopt;
    chooser.path = path;
    return path;
}

std::optional<QString> MainWindow::chooseSavePath(FileDialogState& chooser) {
    if (testUi_)
        return testUi_->chooseSavePath(chooser);
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("レクモデルファイルの保存"), chooser.startLocation(),
        QStringLiteral("レクモデルファイル(*.rkm) (*.rkm)"), nullptr,
        QFileDialog::HideNameFilterDetails);
    if (path.isEmpty())
        return std::nullopt;
    chooser.path = path;
    return path;
}

bool MainWindow::confirmOverwrite(const QString& path) {
    if (testUi_)
        return testUi_->confirmOverwrite(path);
    QMessageBox box(
        QMessageBox::Warning, QString::fromUtf8(kAppTitle),
        QStringLiteral("%1 は既に存在します。\n上書きしますか？").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::runNewModelProperties() {
    if (testUi_)
        return testUi_->runNewModelProperties();
    DialogLauncher(state_, renderer_, this).properties(/*newModel=*/true);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!documents_.confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control)
        syncUi();
    QMainWindow::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control)
        syncUi();
    QMainWindow::keyReleaseEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    forceForeground();
    // Opening may ask questions; let the drag source finish first.
    QMetaObject::invokeMethod(
        this, [this, path] { openModelFile(path); }, Qt::QueuedConnection);
}

}  // namespace rek
