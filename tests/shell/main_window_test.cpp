#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <optional>
#include <vector>

#include "main_window_fixture.h"
#include "resources/artwork.h"
#include "shell/app.h"
#include "shell/native_path.h"

namespace rek {
namespace {

using test::MainWindowTest;
using test::programTitle;

// One toolbar entry as the user sees it: a separator, or a button with its tooltip.
struct ToolbarEntry {
    std::optional<CommandId> command;
    const char* tooltip = "";
};

// Left to right, as the program has always shown it.
const ToolbarEntry kToolbar[] = {
    {CommandId::New, "レクモデルの新規作成 (Ctrl+N)"},
    {CommandId::Open, "レクモデルを開く (Ctrl+O)"},
    {CommandId::SaveAs, "レクモデルを名前を付けて保存"},
    {},
    {CommandId::Save, "レクモデルの上書き保存 (Ctrl+S)"},
    {},
    {CommandId::ExportGif, "レクモデルをアニメGIF形式で保存"},
    {CommandId::ExportBmp, "レクモデルを連番BMPファイルで保存"},
    {},
    {CommandId::Undo, "元に戻す (Ctrl+Z)"},
    {CommandId::Redo, "やり直し (Ctrl+Y)"},
    {},
    {CommandId::StraightLineMode, "直線モード (1)"},
    {CommandId::CurveMode, "曲線モード (2)"},
    {CommandId::RectMode, "四角形モード (3)"},
    {CommandId::CircleMode, "円モード (4)"},
    {CommandId::FilledRectMode, "塗りつぶし四角形モード (5)"},
    {CommandId::FilledCircleMode, "塗りつぶし円モード (6)"},
    {},
    {CommandId::DeleteLastVertex, "末尾の頂点の削除 (Shift+Z)"},
    {},
    {CommandId::RangeSelectMode, "範囲選択モード (M)"},
    {CommandId::SelectAll, "すべての頂点を選択 (Ctrl+A)"},
    {CommandId::Deselect, "選択の解除 (Ctrl+D)"},
    {CommandId::InvertSelection, "選択範囲の反転 (Ctrl+I)"},
    {},
    {CommandId::MoveSelection, "選択した頂点の平行移動 (V)"},
    {CommandId::ScaleSelection, "選択した頂点の拡大・縮小 (Z)"},
    {CommandId::DeleteLines, "選択した直線の削除 (Delete)"},
    {},
    {CommandId::Vtr, "ＶＴＲモード (Enter)"},
    {},
    {CommandId::Wobble, "レクモデルの揺れの有無 (Y)"},
    {},
    {CommandId::Properties, "レクモデルのプロパティ (Ctrl+P)"},
    {},
    {CommandId::Settings, "レクツールの設定"},
    {},
    {CommandId::About, "バージョン情報"},
};

bool isToggle(CommandId id) {
    switch (id) {
        case CommandId::StraightLineMode:
        case CommandId::CurveMode:
        case CommandId::RectMode:
        case CommandId::CircleMode:
        case CommandId::FilledRectMode:
        case CommandId::FilledCircleMode:
        case CommandId::RangeSelectMode:
        case CommandId::MoveSelection:
        case CommandId::ScaleSelection:
        case CommandId::Vtr:
        case CommandId::Wobble:
            return true;
        default:
            return false;
    }
}

TEST_F(MainWindowTest, ToolbarShowsEveryButtonInOrderWithItsTooltipBetweenTwelveSeparators) {
    auto* toolbar = window->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    const QList<QAction*> entries = toolbar->actions();
    ASSERT_EQ(entries.size(), static_cast<qsizetype>(std::size(kToolbar)));
    int separators = 0;
    std::vector<bool> seen(kCommandCount, false);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ToolbarEntry& expected = kToolbar[i];
        QAction* entry = entries[i];
        if (!expected.command) {
            EXPECT_TRUE(entry->isSeparator()) << "entry " << i;
            ++separators;
            continue;
        }
        const CommandId id = *expected.command;
        EXPECT_EQ(entry, window->action(id)) << "entry " << i;
        EXPECT_EQ(entry->toolTip(), QString::fromUtf8(expected.tooltip)) << "entry " << i;
        EXPECT_EQ(entry->isCheckable(), isToggle(id)) << "entry " << i;
        EXPECT_FALSE(entry->icon().isNull()) << "entry " << i;
        EXPECT_TRUE(entry->text().isEmpty()) << "buttons show their image only";
        seen[static_cast<std::size_t>(id)] = true;
    }
    EXPECT_EQ(separators, 12);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), kCommandCount);
}

TEST_F(MainWindowTest, ButtonsRunTheirCommands) {
    window->action(CommandId::CircleMode)->trigger();
    EXPECT_EQ(editor().toolMode(), ToolMode::Circle);
    window->action(CommandId::Wobble)->trigger();
    EXPECT_FALSE(editor().wobbleEnabled());
    EXPECT_FALSE(window->action(CommandId::Wobble)->isChecked());
    window->action(CommandId::Open)->trigger();
    EXPECT_EQ(ui.openChoosers, 1);
}

TEST_F(MainWindowTest, StartsUntitledWithTheCanvasSizeAndNothingToUndo) {
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ 無題 ]"));
    EXPECT_EQ(statusText(StatusPanel::Size), QStringLiteral("800 × 600"));
    EXPECT_EQ(statusText(StatusPanel::Hint),
              QStringLiteral("ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。"));
    EXPECT_FALSE(window->action(CommandId::Undo)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::Redo)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::StraightLineMode)->isChecked());
    EXPECT_TRUE(window->action(CommandId::Wobble)->isChecked());
    EXPECT_FALSE(window->statusPanel().progressVisible());
}

TEST_F(MainWindowTest, DrawingALineMarksTheTitleAndCountsVertices) {
    drawLine({100, 100}, {200, 150});
    ASSERT_EQ(model().vertices.size(), 2u);
    EXPECT_EQ(model().vertices[1].x, 200);
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ 無題 * ]"));
    EXPECT_TRUE(window->action(CommandId::Undo)->isEnabled());
    window->frameTick();
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：2"));
}

struct HintCase {
    const char* name;
    std::vector<CommandId> commands;
    const char* hint;
};

class StatusHintTest : public MainWindowTest, public ::testing::WithParamInterface<HintCase> {};

TEST_P(StatusHintTest, TheStatusBarExplainsTheModeInUse) {
    const HintCase& c = GetParam();
    test::loadDrawing(editor(), test::strokes({{{10, 10}, {200, 10}, {200, 100}}}));
    for (CommandId command : c.commands)
        window->runCommand(command);
    EXPECT_EQ(statusText(StatusPanel::Hint), QString::fromUtf8(c.hint));
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, StatusHintTest,
    ::testing::Values(
        HintCase{"StraightLine",
                 {CommandId::CurveMode, CommandId::StraightLineMode},
                 "ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。"},
        HintCase{"Curve",
                 {CommandId::CurveMode},
                 "ドラッグで曲線を引く。ただの直線の集まりなので頂点の増えすぎに注意。"},
        HintCase{"Rect", {CommandId::RectMode}, "ドラッグで長方形を描く。"},
        HintCase{"Circle", {CommandId::CircleMode}, "ドラッグで円を描く。"},
        HintCase{
            "FilledRect", {CommandId::FilledRectMode}, "ドラッグで塗りつぶされた長方形を描く。"},
        HintCase{
            "FilledCircle", {CommandId::FilledCircleMode}, "ドラッグで塗りつぶされた円を描く。"},
        HintCase{"RangeSelect",
                 {CommandId::RangeSelectMode},
                 "ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しながら"
                 "で選択除外。"},
        HintCase{"Move", {CommandId::SelectAll, CommandId::MoveSelection}, "ドラッグで平行移動。"},
        HintCase{"MoveSwitchedOff",
                 {CommandId::SelectAll, CommandId::MoveSelection, CommandId::MoveSelection},
                 "ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しながら"
                 "で選択除外。"},
        HintCase{
            "Scale",
            {CommandId::SelectAll, CommandId::ScaleSelection},
            "ドラッグで拡大・縮小。ドラッグ開始点を基準に横方向のドラッグの距離で拡縮される。"},
        HintCase{"ReplayOverMove",
                 {CommandId::SelectAll, CommandId::MoveSelection, CommandId::Vtr},
                 "レクモデルを描かれた順番に再現。"}),
    [](const ::testing::TestParamInfo<HintCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ReplayDisablesTheToolbarAndShowsProgress) {
    drawLine({0, 0}, {400, 0});
    window->runCommand(CommandId::Vtr);
    ASSERT_TRUE(editor().replaying());
    EXPECT_TRUE(window->statusPanel().progressVisible());
    EXPECT_EQ(window->statusPanel().progressBar().maximum(), 400);
    EXPECT_FALSE(window->action(CommandId::New)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::StraightLineMode)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Vtr)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Vtr)->isChecked());
    EXPECT_TRUE(window->action(CommandId::About)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Settings)->isEnabled());
    EXPECT_TRUE(window->action(CommandId::Undo)->isEnabled()) << "follows the history";
    EXPECT_EQ(statusText(StatusPanel::Hint), QStringLiteral("レクモデルを描かれた順番に再現。"));

    // Presses on the canvas add nothing during replay.
    QTest::mousePress(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    QTest::mouseRelease(&canvas(), Qt::LeftButton, {}, canvasPoint(300, 300));
    EXPECT_EQ(model().vertices.size(), 2u);

    window->frameTick();
    EXPECT_EQ(window->statusPanel().progressBar().value(), 40) << "one step at speed 40";
    for (int frame = 0; frame < 20 && editor().replaying(); ++frame)
        window->frameTick();
    EXPECT_FALSE(editor().replaying());
    EXPECT_FALSE(window->statusPanel().progressVisible());
    EXPECT_TRUE(window->action(CommandId::New)->isEnabled());
    EXPECT_FALSE(window->action(CommandId::Vtr)->isChecked());
}

TEST_F(MainWindowTest, TheVertexCountStandsStillDuringAReplay) {
    drawLine({0, 0}, {400, 0});
    drawLine({0, 100}, {10, 100});
    window->frameTick();
    ASSERT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：4"));
    window->runCommand(CommandId::Vtr);
    window->runCommand(CommandId::DeleteLastVertex);  // Shift+Z works during a replay
    ASSERT_EQ(model().vertices.size(), 2u);
    window->frameTick();
    ASSERT_TRUE(editor().replaying());
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：4"));
    for (int frame = 0; frame < 20 && editor().replaying(); ++frame)
        window->frameTick();
    window->frameTick();
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
        if (event->type() == QEvent::CursorChange)
            ++count;
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
}

TEST_F(MainWindowTest, CursorFollowsCtrlHeldDownBeforeTheWindowSawTheKey) {
    test::loadDrawing(editor(), test::strokes({{{10, 10}, {200, 10}}}));
    window->runCommand(CommandId::RangeSelectMode);
    moveTo(100, 100);
    ASSERT_EQ(cursorImage(canvas().cursor()), cursorImage(selectCursor()));
    // Ctrl went down while another window had the keyboard: the press carries it.
    QTest::mousePress(&canvas(), Qt::LeftButton, Qt::ControlModifier, canvasPoint(100, 100));
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
    moveTo(150, 150, Qt::LeftButton);
    QTest::mouseRelease(&canvas(), Qt::LeftButton, Qt::ControlModifier, canvasPoint(150, 150));
    EXPECT_EQ(cursorImage(canvas().cursor()), cursorImage(selectAddCursor()));
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
    ModelProperties smaller = model().properties;
    smaller.width = 200;
    smaller.height = 100;
    editor().acceptProperties(smaller, /*recordSnapshot=*/true);
    window->runCommand(CommandId::Undo);
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(800, 600));
    EXPECT_EQ(statusText(StatusPanel::Size), QStringLiteral("800 × 600"));
    window->runCommand(CommandId::Redo);
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(200, 100));
    const QRect area = canvas().parentWidget()->rect();
    EXPECT_EQ(canvas().geometry().center().x() / 2, area.center().x() / 2);
    EXPECT_EQ(canvas().geometry().center().y() / 2, area.center().y() / 2);
    EXPECT_EQ(statusText(StatusPanel::Size), QStringLiteral("200 × 100"));
}

TEST_F(MainWindowTest, NewShowsTheEmptyModelAtOnce) {
    drawLine({10, 10}, {60, 10});
    window->frameTick();
    ASSERT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：2"));
    ui.saveAnswers = {SaveAnswer::No};
    window->runCommand(CommandId::New);
    EXPECT_EQ(ui.newModelDialogs, 1);
    EXPECT_TRUE(model().vertices.empty());
    EXPECT_EQ(statusText(StatusPanel::VertexCount), QStringLiteral("頂点の数：0"));
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ 無題 ]"));
}

TEST_F(MainWindowTest, ExportsRefuseAnEmptyModel) {
    window->runCommand(CommandId::ExportGif);
    window->runCommand(CommandId::ExportBmp);
    ASSERT_EQ(ui.messages.size(), 2u);
    for (const UserMessage& message : ui.messages) {
        EXPECT_EQ(message.text, QStringLiteral("レクモデルがありません。"));
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
}

TEST_F(MainWindowTest, DroppingFilesOpensTheFirstOnly) {
    ModelProperties narrow;
    narrow.width = 300;
    const QString first =
        test::writeModelFile(folder.path("first.rkm"), test::strokes({{{1, 1}, {9, 9}}}), narrow);
    const QString second = test::writeModelFile(folder.path("second.rkm"), {});

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();

    EXPECT_EQ(model().displayName, "first.rkm");
    EXPECT_EQ(model().vertices.size(), 2u);
    EXPECT_EQ(canvas().size(), CanvasWindow::outerSizeFor(300, 600));
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ first.rkm ]"));
}

TEST_F(MainWindowTest, ADroppedFileWhoseNameIsNoValidTextOpensUnderItsBytes) {
    const std::string path = folder.file("bad\xff.rkm");
    test::writeModelFile(path, test::strokes({{{1, 1}, {9, 9}}}));
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QCoreApplication::processEvents();

    EXPECT_EQ(model().filePath, path);
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ bad\uFFFD.rkm ]"));
}

TEST_F(MainWindowTest, AHandedOverFileOpensAndTheChoosersLeaveTheStartFolder) {
    const QString path =
        test::writeModelFile(folder.path("handed.rkm"), test::strokes({{{5, 5}, {50, 5}}}));
    EXPECT_FALSE(window->handleOpenRequest(folder.file("none.rkm")));
    EXPECT_TRUE(state.fileDialog.useInitialFolder);
    window->showMinimized();
    ASSERT_TRUE(window->handleOpenRequest(nativePath(path)));
    EXPECT_FALSE(window->isMinimized());
    EXPECT_FALSE(state.fileDialog.useInitialFolder);
    EXPECT_EQ(window->windowTitle(), programTitle() + QStringLiteral(" - [ handed.rkm ]"));
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
