#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "fake_document_ui.h"
#include "model/model_file.h"
#include "resources/artwork.h"
#include "resources/resources_init.h"
#include "shell/app.h"

namespace rek {
namespace {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.settings.openInVtrMode = false;
        state.editor.history.recordSnapshot(state.editor.model);
        window = std::make_unique<MainWindow>(state);
        window->setDocumentUiForTesting(&ui);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    CanvasWindow& canvas() { return window->canvas(); }

    QPoint canvasPoint(int x, int y) {
        return QPoint(x + CanvasWindow::kBorder, y + CanvasWindow::kBorder);
    }

    // The tools read the pointer that the last frame sampled, as on screen.
    void moveTo(int x, int y, Qt::MouseButtons held = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, canvasPoint(x, y),
                         canvas().mapToGlobal(canvasPoint(x, y)), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(&canvas(), &move);
        window->frameTick();
    }

    void drawLine(QPoint from, QPoint to) {
        moveTo(from.x(), from.y());
        QTest::mousePress(&canvas(), Qt::LeftButton, {}, canvasPoint(from.x(), from.y()));
        moveTo(to.x(), to.y(), Qt::LeftButton);
        QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, canvasPoint(to.x(), to.y()));
    }

    AppState state;
    FakeDocumentUi ui;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ToolbarHasTheButtonsInOrderWithTooltips) {
    auto* toolbar = window->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    const QList<QAction*> entries = toolbar->actions();
    ASSERT_EQ(entries.size(), 39);
    EXPECT_EQ(entries[0]->toolTip(), QStringLiteral("レクモデルの新規作成 (Ctrl+N)"));
    EXPECT_TRUE(entries[3]->isSeparator());
    EXPECT_EQ(entries[30]->toolTip(), QStringLiteral("ＶＴＲモード (Enter)"));
    EXPECT_EQ(entries[38]->toolTip(), QStringLiteral("バージョン情報"));
    EXPECT_FALSE(window->action(CommandId::Undo)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::Redo)->isEnabled());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("レクツール Ver.1.41 - [ 無題 ]"));
    EXPECT_EQ(window->statusPanel().partText(StatusPanel::Size), QStringLiteral("800 × 600"));
}

TEST_F(MainWindowTest, DrawingALineMarksTheTitleAndCountsVertices) {
    drawLine({100, 100}, {200, 150});
    ASSERT_EQ(state.editor.model.vertices.size(), 2u);
    EXPECT_EQ(state.editor.model.vertices[1].x, 200);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("レクツール Ver.1.41 - [ 無題 * ]"));
    EXPECT_TRUE(window->action(CommandId::Undo)->isEnabled());
    window->frameTick();
    EXPECT_EQ(window->statusPanel().partText(StatusPanel::VertexCount),
              QStringLiteral("頂点の数：2"));
    EXPECT_EQ(window->statusPanel().partText(StatusPanel::Hint),
              QStringLiteral("ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。"));
}

TEST_F(MainWindowTest, KeysDeliverTheSameCommandsAsTheButtons) {
    QTest::keyClick(window.get(), Qt::Key_2);
    EXPECT_EQ(state.editor.tool.mode, ToolMode::Curve);
    EXPECT_TRUE(window->action(CommandId::CurveMode)->isChecked());
    QTest::keyClick(window.get(), Qt::Key_5);
    EXPECT_EQ(state.editor.tool.mode, ToolMode::FilledRect);
    QTest::keyClick(window.get(), Qt::Key_6);
    EXPECT_EQ(state.editor.tool.mode, ToolMode::FilledCircle);
    QTest::keyClick(window.get(), Qt::Key_Y);
    EXPECT_FALSE(state.editor.wobbleEnabled);

    QTest::keyClick(window.get(), Qt::Key_1);
    drawLine({10, 10}, {60, 10});
    drawLine({60, 60}, {90, 90});
    ASSERT_EQ(state.editor.model.vertices.size(), 4u);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.editor.model.vertices.size(), 4u);
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
    // Z alone is the scale command, which needs a selection: nothing happens.
    QTest::keyClick(window.get(), Qt::Key_Z);
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
}

TEST_F(MainWindowTest, ReplayDisablesTheToolbarAndShowsProgress) {
    drawLine({0, 0}, {400, 0});
    QTest::keyClick(window.get(), Qt::Key_Return);
    ASSERT_TRUE(state.editor.playback.vtrPlaying);
    EXPECT_TRUE(window->statusPanel().progressVisible());
    EXPECT_EQ(window->statusPanel().progressBar().maximum(), 400);
    EXPECT_FALSE(window->action(CommandId::New)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::StraightLineMode)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Vtr)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Vtr)->isChecked());
    EXPECT_TRUE(window->action(CommandId::About)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Settings)->isEnabled());
    EXPECT_EQ(window->statusPanel().partText(StatusPanel::Hint),
              QStringLiteral("レクモデルを描かれた順番に再現。"));

    // Presses on the canvas add nothing during replay.
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);

    for (int frame = 0; frame < 20 && state.editor.playback.vtrPlaying; ++frame) {
        window->frameTick();
    }
    EXPECT_FALSE(state.editor.playback.vtrPlaying);
    EXPECT_FALSE(window->statusPanel().progressVisible());
    EXPECT_TRUE(window->action(CommandId::New)->isEnabled());
}

TEST_F(MainWindowTest, ReplayOfAnotherModelRangesTheProgressOverItsLength) {
    drawLine({0, 0}, {400, 0});
    QTest::keyClick(window.get(), Qt::Key_Return);
    ASSERT_EQ(window->statusPanel().progressBar().maximum(), 400);

    // Opening during the replay starts a replay of the opened model at once.
    QTemporaryDir dir;
    Model shorter;
    appendVertex(shorter, 0, 0, false);
    appendVertex(shorter, 0, 100, true);
    const QString path = dir.filePath("shorter.rkm");
    ASSERT_TRUE(saveModel(shorter, path.toStdString()).ok);
    state.settings.openInVtrMode = true;
    ui.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(window->openModelFile(path));
    ASSERT_TRUE(state.editor.playback.vtrPlaying);
    EXPECT_EQ(window->statusPanel().progressBar().maximum(), 100);
    EXPECT_EQ(window->statusPanel().progressBar().value(), 0);
}

// Counts the cursor changes of a widget.
class CursorChanges : public QObject {
  public:
    explicit CursorChanges(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::CursorChange)
            ++count;
        return false;
    }
};

QImage cursorImage(const QCursor& cursor) {
    return cursor.pixmap().isNull() ? cursor.bitmap().toImage() : cursor.pixmap().toImage();
}

TEST_F(MainWindowTest, CursorIsSetWhenItChangesOnlyAndFollowsCtrl) {
    QTest::keyClick(window.get(), Qt::Key_M);
    moveTo(100, 100);  // over the drawing area, not its sizing border
    CursorChanges changes(canvas());
    // The state is brought to the widgets after every event and every replay frame; an
    // unchanged cursor must not be built and handed to the window system each time.
    for (int i = 0; i < 5; ++i)
        window->syncUi();
    EXPECT_EQ(changes.count, 0);

    QTest::keyPress(window.get(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
    QTest::keyRelease(window.get(), Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectCursor()));
}

TEST_F(MainWindowTest, CloseAsksAboutChangesAndCancelKeepsTheWindow) {
    drawLine({10, 10}, {60, 10});
    ui.saveAnswers = {SaveAnswer::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.saveQuestions, 1);

    ui.saveAnswers = {SaveAnswer::No};
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, UndoOfACanvasResizeRecentresTheCanvas) {
    applyCanvasSize(state.editor.model, 200, 100);
    state.editor.history.recordSnapshot(state.editor.model);
    window->runCommand(CommandId::Undo);
    window->runCommand(CommandId::Redo);
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(200, 100));
    const QRect area = canvas().parentWidget()->rect();
    EXPECT_EQ(canvas().geometry().center().x() / 2, area.center().x() / 2);
    EXPECT_EQ(window->statusPanel().partText(StatusPanel::Size), QStringLiteral("200 × 100"));
}

TEST_F(MainWindowTest, ExportsRefuseAnEmptyModel) {
    window->runCommand(CommandId::ExportGif);
    window->runCommand(CommandId::ExportBmp);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "レクモデルがありません。");
}

TEST_F(MainWindowTest, DroppingFilesOpensTheFirstOnly) {
    QTemporaryDir dir;
    Model dropped;
    dropped.properties.width = 300;
    appendVertex(dropped, 1, 1, false);
    appendVertex(dropped, 9, 9, true);
    const QString first = dir.filePath("first.rkm");
    ASSERT_TRUE(saveModel(dropped, first.toStdString()).ok);
    const QString second = dir.filePath("second.rkm");
    ASSERT_TRUE(saveModel(Model{}, second.toStdString()).ok);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();

    EXPECT_EQ(state.editor.model.displayName, "first.rkm");
    EXPECT_EQ(state.editor.model.vertices.size(), 2u);
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(300, 600));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("レクツール Ver.1.41 - [ first.rkm ]"));
}

TEST(ApplicationTest, CaptionsGetNoApplicationNameAppended) {
    // A display name set on the application is appended to every caption by the window
    // system ("... - [ 無題 ] — レクツール"); the title and every message box caption must be
    // exactly the program's own texts.
    configureApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

}  // namespace
}  // namespace rek

int main(int argc, char** argv) {
    // Test discovery runs this binary outside the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    rek::initResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
