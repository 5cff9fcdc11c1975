#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QWindow>

#include "resources/artwork.h"
#include "shell/command_table.h"
#include "shell/dialog_document_ui.h"
#include "shell/editor_commands.h"
#include "shell/mode_display.h"
#include "shell/native_path.h"
#include "shell/text/messages.h"

namespace rek {
namespace {

constexpr int kFramePeriodMs = 30;
constexpr int kWobblePeriodMs = 60;

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

MainWindow::MainWindow(AppState& state, DocumentUi* documentUi, QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      editor_(state.editor),
      dialogs_(state, this),
      ownDocumentUi_(documentUi != nullptr ? nullptr
                                           : std::make_unique<DialogDocumentUi>(dialogs_, this)),
      documentUi_(documentUi != nullptr ? *documentUi : *ownDocumentUi_),
      documents_(state, documentUi_) {
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

    canvas_ = new CanvasWindow(editor_, renderer_, canvasArea_);
    connect(canvas_, &CanvasWindow::outOfMemory, this,
            [this] { documentUi_.showMessage(messages::vertexMemory()); });
    connect(canvas_, &CanvasWindow::borderDragStepped, this, &MainWindow::frameTick);
    connect(canvas_, &CanvasWindow::borderDragFinished, this, &MainWindow::layoutCanvas);
    connect(&editor_, &Editor::changed, this, &MainWindow::onEditorChanged);
    canvas_->installEventFilter(this);

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
        action->setToolTip(commandTooltip(info));
        action->setCheckable(info.checkable);
        const CommandId id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[static_cast<int>(id)] = action;
        if (info.startsGroup)
            toolbar_->addSeparator();
        toolbar_->addAction(action);
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
            // Holding a key steps through undo, redo and deletion; toggles must not flicker.
            shortcut->setAutoRepeat(info.repeats);
            const CommandId id = info.id;
            connect(shortcut, &QShortcut::activated, this, [this, id] { runCommand(id); });
        }
    }
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindow::runCommand(CommandId command) {
    if (runEditorCommand(editor_, command))
        return;
    switch (command) {
        case CommandId::New:
            if (documents_.newModel())
                frameTick();  // the empty model at once, without waiting for the timer
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
            dialogs_.properties(/*newModel=*/false);
            break;
        case CommandId::Settings:
            dialogs_.settings();
            break;
        case CommandId::About:
            dialogs_.about();
            break;
        default:
            break;
    }
    syncUi();
}

bool MainWindow::openModelFile(const std::string& path) {
    const bool opened = documents_.openModelFile(path);
    syncUi();
    return opened;
}

bool MainWindow::handleOpenRequest(const std::string& path) {
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
    const FrameTick tick = editor_.frameTick(renderer_, canvas_->samplePointer());
    // The count stands still during a replay: it shows what the drawing had before.
    if (!editor_.replaying() && shownVertexCount_ != editor_.shownVertexCount()) {
        shownVertexCount_ = editor_.shownVertexCount();
        status_->setPartText(StatusPanel::VertexCount, messages::vertexCount(*shownVertexCount_));
    }
    if (tick.replayStepped)
        syncUi();
    canvas_->update();
}

void MainWindow::wobbleTick() {
    editor_.wobbleTick();
}

void MainWindow::startTimers() {
    frameTimer_.start();
    wobbleTimer_.start();
}

void MainWindow::stopTimers() {
    frameTimer_.stop();
    wobbleTimer_.stop();
}

void MainWindow::onEditorChanged(const EditorChanges& changes) {
    // A new canvas size is shown re-centred, and drawn at once unless a replay draws its own
    // frames (a border drag re-centres when it ends).
    if (changes.canvasSize && !editor_.borderDragActive()) {
        layoutCanvas();
        if (!editor_.replaying())
            frameTick();
    }
    syncUi();
}

void MainWindow::layoutCanvas() {
    if (editor_.borderDragActive())
        return;
    const ModelProperties& p = editor_.model().properties;
    const QSize outer = CanvasWindow::outerSizeFor(p.width, p.height);
    const QSize area = canvasArea_->size();
    // Halves round toward zero, so a canvas larger than the area gets a negative offset.
    const int left = (area.width() - outer.width()) / 2;
    const int top = (area.height() - outer.height()) / 2;
    canvas_->setGeometry(left, top, outer.width(), outer.height());
}

void MainWindow::syncUi() {
    const Model& model = editor_.model();
    const QString title =
        messages::windowTitle(QString::fromStdString(model.displayName), model.modified);
    if (title != shownTitle_) {
        setWindowTitle(title);
        shownTitle_ = title;
    }
    status_->setPartText(StatusPanel::Size,
                         messages::canvasSize(model.properties.width, model.properties.height));

    const ModeDisplay display = describeModeDisplay(editor_, currentModifiers());
    status_->setPartText(StatusPanel::Hint, display.hint);
    for (int i = 0; i < kCommandCount; ++i) {
        QAction* button = actions_[i];
        if (button->isEnabled() != display.buttons[i].enabled)
            button->setEnabled(display.buttons[i].enabled);
        if (button->isCheckable() && button->isChecked() != display.buttons[i].checked)
            button->setChecked(display.buttons[i].checked);
    }
    // The range follows the model: a replay may restart for another one (an open during a
    // replay) or the drawing may change under it.
    const int progressMaximum = static_cast<int>(
        std::min<std::uint32_t>(display.progressMaximum, static_cast<std::uint32_t>(INT32_MAX)));
    if (display.progressVisible) {
        if (!progressShown_ || progressMaximum != progressMaximum_)
            status_->showProgress(progressMaximum);
        status_->setProgress(
            static_cast<int>(std::min<std::uint32_t>(editor_.replayDrawnLength(), INT32_MAX)));
    } else if (progressShown_) {
        status_->hideProgress();
    }
    progressShown_ = display.progressVisible;
    progressMaximum_ = progressMaximum;
    // Built and handed to the window system only on a change: this runs for every replay
    // frame and every change of the editor.
    if (display.cursor != shownCursor_) {
        canvas_->setToolCursor(cursorFor(display.cursor));
        shownCursor_ = display.cursor;
    }
}

void MainWindow::openExportDialog(CommandId command) {
    if (editor_.model().vertices.empty()) {
        documentUi_.showMessage(UserMessage{messages::noModel()});
        return;
    }
    if (command == CommandId::ExportGif)
        dialogs_.exportGif();
    else
        dialogs_.exportBmp();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Clicks and drags on the canvas carry Ctrl and Shift also when the keys went down while
    // another window had the keyboard; the cursor follows them as it follows the keys.
    if (watched == canvas_) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
            (type == QEvent::MouseMove && editor_.dragging())) {
            syncUi();
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
    const std::string path = urls.isEmpty() ? std::string() : nativePathOfUrl(urls.first());
    if (path.empty())
        return;
    event->acceptProposedAction();
    forceForeground();
    // Opening may ask questions; let the drag source finish first.
    QMetaObject::invokeMethod(
        this, [this, path] { openModelFile(path); }, Qt::QueuedConnection);
}

}  // namespace rek
