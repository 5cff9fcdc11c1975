#include "shell/command_table.h"

#include <QCoreApplication>
#include <algorithm>

namespace rek {
namespace {

using K = QKeySequence;

const CommandInfo kCommands[] = {
    {.id = CommandId::New,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルの新規作成 (Ctrl+N)"),
     .imageIndex = 0,
     .keys = K(Qt::CTRL | Qt::Key_N)},
    {.id = CommandId::Open,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルを開く (Ctrl+O)"),
     .imageIndex = 1,
     .keys = K(Qt::CTRL | Qt::Key_O)},
    {.id = CommandId::SaveAs,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルを名前を付けて保存"),
     .imageIndex = 11},
    {.id = CommandId::Save,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルの上書き保存 (Ctrl+S)"),
     .imageIndex = 2,
     .startsGroup = true,
     .keys = K(Qt::CTRL | Qt::Key_S)},
    {.id = CommandId::ExportGif,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルをアニメGIF形式で保存"),
     .imageIndex = 12,
     .startsGroup = true},
    {.id = CommandId::ExportBmp,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルを連番BMPファイルで保存"),
     .imageIndex = 28},
    {.id = CommandId::Undo,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "元に戻す (Ctrl+Z)"),
     .imageIndex = 24,
     .startsGroup = true,
     .keys = K(Qt::CTRL | Qt::Key_Z),
     .repeats = true},
    {.id = CommandId::Redo,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "やり直し (Ctrl+Y)"),
     .imageIndex = 25,
     .keys = K(Qt::CTRL | Qt::Key_Y),
     .repeats = true},
    {.id = CommandId::StraightLineMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "直線モード (1)"),
     .imageIndex = 3,
     .startsGroup = true,
     .keys = K(Qt::Key_1),
     .checkable = true,
     .tool = ToolMode::StraightLine,
     .hint = QT_TRANSLATE_NOOP("CommandTable",
                               "ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。")},
    {.id = CommandId::CurveMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "曲線モード (2)"),
     .imageIndex = 4,
     .keys = K(Qt::Key_2),
     .checkable = true,
     .tool = ToolMode::Curve,
     .hint = QT_TRANSLATE_NOOP(
         "CommandTable", "ドラッグで曲線を引く。ただの直線の集まりなので頂点の増えすぎに注意。")},
    {.id = CommandId::RectMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "四角形モード (3)"),
     .imageIndex = 15,
     .keys = K(Qt::Key_3),
     .checkable = true,
     .tool = ToolMode::Rect,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "ドラッグで長方形を描く。")},
    {.id = CommandId::CircleMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "円モード (4)"),
     .imageIndex = 16,
     .keys = K(Qt::Key_4),
     .checkable = true,
     .tool = ToolMode::Circle,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "ドラッグで円を描く。")},
    {.id = CommandId::FilledRectMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "塗りつぶし四角形モード (5)"),
     .imageIndex = 17,
     .keys = K(Qt::Key_5),
     .checkable = true,
     .tool = ToolMode::FilledRect,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "ドラッグで塗りつぶされた長方形を描く。")},
    {.id = CommandId::FilledCircleMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "塗りつぶし円モード (6)"),
     .imageIndex = 18,
     .keys = K(Qt::Key_6),
     .checkable = true,
     .tool = ToolMode::FilledCircle,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "ドラッグで塗りつぶされた円を描く。")},
    {.id = CommandId::DeleteLastVertex,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "末尾の頂点の削除 (Shift+Z)"),
     .imageIndex = 23,
     .startsGroup = true,
     .keys = K(Qt::SHIFT | Qt::Key_Z),
     .repeats = true},
    {.id = CommandId::RangeSelectMode,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "範囲選択モード (M)"),
     .imageIndex = 19,
     .startsGroup = true,
     .keys = K(Qt::Key_M),
     .checkable = true,
     .tool = ToolMode::RangeSelect,
     .hint = QT_TRANSLATE_NOOP(
         "CommandTable",
         "ドラッグで頂点を選択する。Ctrlキーを押しながらで選択追加。Shiftキーを押しながらで"
         "選択除外。")},
    {.id = CommandId::SelectAll,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "すべての頂点を選択 (Ctrl+A)"),
     .imageIndex = 21,
     .keys = K(Qt::CTRL | Qt::Key_A)},
    {.id = CommandId::Deselect,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "選択の解除 (Ctrl+D)"),
     .imageIndex = 20,
     .keys = K(Qt::CTRL | Qt::Key_D)},
    {.id = CommandId::InvertSelection,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "選択範囲の反転 (Ctrl+I)"),
     .imageIndex = 22,
     .keys = K(Qt::CTRL | Qt::Key_I)},
    {.id = CommandId::MoveSelection,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "選択した頂点の平行移動 (V)"),
     .imageIndex = 5,
     .startsGroup = true,
     .keys = K(Qt::Key_V),
     .checkable = true,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "ドラッグで平行移動。")},
    {.id = CommandId::ScaleSelection,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "選択した頂点の拡大・縮小 (Z)"),
     .imageIndex = 6,
     .keys = K(Qt::Key_Z),
     .checkable = true,
     .hint = QT_TRANSLATE_NOOP(
         "CommandTable",
         "ドラッグで拡大・縮小。ドラッグ開始点を基準に横方向のドラッグの距離で拡縮される。")},
    {.id = CommandId::DeleteLines,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "選択した直線の削除 (Delete)"),
     .imageIndex = 10,
     .keys = K(Qt::Key_Delete)},
    {.id = CommandId::Vtr,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "ＶＴＲモード (Enter)"),
     .imageIndex = 7,
     .startsGroup = true,
     .keys = K(Qt::Key_Return),
     .alternateKeys = K(Qt::Key_Enter),
     .checkable = true,
     .hint = QT_TRANSLATE_NOOP("CommandTable", "レクモデルを描かれた順番に再現。")},
    {.id = CommandId::Wobble,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルの揺れの有無 (Y)"),
     .imageIndex = 14,
     .startsGroup = true,
     .keys = K(Qt::Key_Y),
     .checkable = true},
    {.id = CommandId::Properties,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクモデルのプロパティ (Ctrl+P)"),
     .imageIndex = 13,
     .startsGroup = true,
     .keys = K(Qt::CTRL | Qt::Key_P)},
    {.id = CommandId::Settings,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "レクツールの設定"),
     .imageIndex = 9,
     .startsGroup = true},
    {.id = CommandId::About,
     .tooltip = QT_TRANSLATE_NOOP("CommandTable", "バージョン情報"),
     .imageIndex = 8,
     .startsGroup = true},
};
static_assert(std::size(kCommands) == kCommandCount, "every command has one entry");

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo& commandInfo(CommandId id) {
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
                         [id](const CommandInfo& info) { return info.id == id; });
}

QString commandTooltip(const CommandInfo& command) {
    return QCoreApplication::translate("CommandTable", command.tooltip);
}

QString commandHint(const CommandInfo& command) {
    return command.hint != nullptr ? QCoreApplication::translate("CommandTable", command.hint)
                                   : QString();
}

const CommandInfo& commandForTool(ToolMode mode) {
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
                         [mode](const CommandInfo& info) { return info.tool == mode; });
}

}  // namespace rek
