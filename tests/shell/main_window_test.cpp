#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>

#include "main_window_fixture.h"
#include "resources/artwork.h"
#include "shell/app.h"
#include "shell/native_path.h"
#include "shell/status_panel.h"

namespace rek {
namespace {

using test::MainWindowTest;
using test::programTitle;

TEST_F(MainWindowTest, AReplayIgnoresTheCanvasShowsProgressAndKeepsTheVertexCount) {
    drawLine({0, 0}, {400, 0});
    drawLine({0, 100}, {10, 100});
    window->frameTick();
    window->runCommand(CommandId::Vtr);
    ASSERT_TRUE(editor().replaying());
    EXPECT_TRUE(window->statusPanel().progressVisible());
    EXPECT_EQ(window->statusPanel().progressBar().maximum(), 410);
    EXPECT_FALSE(window->action(CommandId::New)->isEnabled());
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    EXPECT_EQ(model().vertices.size(), 4u) << "presses add nothing during a replay";

    window->runCommand(CommandId::DeleteLastVertex);  // Shift+Z works during a replay
    ASSERT_EQ(model().vertices.size(), 2u);
    window->frameTick();
    EXPECT_EQ(window->statusPanel().progressBar().value(), 40) << "one step at speed 40";
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：4"))
        << "the count stands still during the replay";
    for (int frame = 0; frame < 20 && editor().replaying(); ++frame)
        window->frameTick();
    window->frameTick();
    EXPECT_FALSE(editor().replaying());
    EXPECT_FALSE(window->statusPanel().progressVisible());
    EXPECT_TRUE(window->action(CommandId::New)->isEnabled());
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：2"));
}

TEST_F(MainWindowTest, ReplayOfAnotherModelRangesTheProgressOverItsLength) {
    drawLine({0, 0}, {400, 0});
    window->runCommand(CommandId::Vtr);
    window->frameTick();
    ASSERT_EQ(window->statusPanel().progressBar().maximum(), 400);

    // Opening during the replay starts a replay of the opened model at once.
    const QString path =
        test::writeModelFile(folder.path("shorter.rkm"), test::strokes({{{0, 0}, {0, 100}}}));
    state.settings.openInVtrMode = true;
    ui.saveAnswers = {SaveAnswer::No};
    ASSERT_TRUE(window->openModelFile(nativePath(path)));
    ASSERT_TRUE(editor().replaying());
    EXPECT_EQ(window->statusPanel().progressBar().maximum(), 100);
    EXPECT_EQ(window->statusPanel().progressBar().value(), 0);
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ shorter.rkm ]"));
}

// Counts the cursor changes of a widget.
class CursorChanges : public QObject {
  public:
    explicit CursorChanges(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::CursorChange ? 1 : 0;
        return false;
    }
};

QImage cursorImage(const QCursor& cursor) {
    return cursor.pixmap().isNull() ? cursor.bitmap().toImage() : cursor.pixmap().toImage();
}

TEST_F(MainWindowTest, CursorIsSetWhenItChangesOnlyAndFollowsCtrl) {
    window->runCommand(CommandId::RangeSelectMode);
    moveTo(100, 100);  // over the drawing area, not its sizing border
    CursorChanges changes(canvas());
    // The state is brought to the widgets after every change and every replay frame; an
    // unchanged cursor must not be built and handed to the window system each time.
    for (int i = 0; i < 5; ++i)
        window->syncUi();
    EXPECT_EQ(changes.count, 0);
    QTest::keyPress(&canvas(), Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
    QTest::keyRelease(&canvas(), Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(changes.count, 2);
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectCursor()));

    // Ctrl went down while another window had the keyboard: the press carries it.
    QTest::mousePress(&canvas(), Qt::LeftButton, Qt::ControlModifier, canvasPoint(100, 100));
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
    moveTo(150, 150, Qt::LeftButton);
    QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::ControlModifier, canvasPoint(150, 150));
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
}

TEST_F(MainWindowTest, NewShowsTheEmptyModelAtOnceAndExportsRefuseIt) {
    drawLine({10, 10}, {60, 10});
    window->frameTick();
    ui.saveAnswers = {SaveAnswer::No};
    window->runCommand(CommandId::New);
    EXPECT_EQ(ui.newModelDialogs, 1);
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：0"));
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ 無題 ]"));

    window->runCommand(CommandId::ExportGif);
    window->runCommand(CommandId::ExportBmp);
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const UserMessage& message : ui.messages) {
        EXPECT_EQ(message.text, QStringLiteral("レクモデルがありません。"));
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
}

TEST_F(MainWindowTest, ADropOpensTheFirstFileUnderItsBytes) {
    const auto drop = [this](QMimeData& data) {
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &drop);
        QCoreApplication::processEvents();
    };
    ModelProperties narrow;
    narrow.width = 300;
    const QString first =
        test::writeModelFile(folder.path("first.rkm"), test::strokes({{{1, 1}, {9, 9}}}), narrow);
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(first),
                 QUrl::fromLocalFile(test::writeModelFile(folder.path("second.rkm"), {}))});
    drop(two);
    EXPECT_EQ(model().displayName, "first.rkm");
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(300, 600));

    const std::string path = folder.file("bad\xff.rkm");
    test::writeModelFile(path, test::strokes({{{1, 1}, {9, 9}}}));
    QMimeData bad;
    bad.setData(QStringLiteral("text/uri-list"),
                "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    drop(bad);
    EXPECT_EQ(model().filePath, path);
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ bad\uFFFD.rkm ]"));
}

TEST(ApplicationTest, CaptionsGetNoApplicationNameAppended) {
    // A display name set on the application is appended to every caption by the window
    // system ("... - [ 無題 ] — レクツール").
    configureApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

QLabel& part(StatusPanel& panel, int index) {
    return *panel.findChildren<QLabel*>().at(index);
}

TEST(StatusPanelTest, ALongCountWidensItsPartAtTheHintsExpenseAndTheSizeStays) {
    StatusPanel panel;
    panel.resize(800, 20);
    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：12"));
    EXPECT_EQ(part(panel, 0).maximumWidth(), 100);
    EXPECT_EQ(part(panel, 1).maximumWidth(), 500);

    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：1234567890"));
    QLabel& count = part(panel, 0);
    const int needed = count.fontMetrics().horizontalAdvance(count.text());
    EXPECT_GT(count.maximumWidth(), needed);
    EXPECT_EQ(count.maximumWidth() + part(panel, 1).maximumWidth(), 500 + 100);
    EXPECT_EQ(part(panel, 2).maximumWidth(), 200);

    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：0"));
    EXPECT_EQ(part(panel, 0).maximumWidth(), 100);
    EXPECT_EQ(part(panel, 1).maximumWidth(), 500);
}

TEST(StatusPanelTest, AHintTooLongForItsPartIsItsTooltipUntilAShortOneComes) {
    StatusPanel panel;
    const QString longHint = QString(QStringLiteral("範囲をドラッグで選択。")).repeated(6);
    panel.setPartText(StatusPanel::Hint, longHint);
    EXPECT_EQ(part(panel, 1).toolTip(), longHint);
    panel.setPartText(StatusPanel::Hint, QStringLiteral("短い。"));
    EXPECT_TRUE(part(panel, 1).toolTip().isEmpty());
}

}  // namespace
}  // namespace rek
