#include "shell/command_table.h"

#include <algorithm>
#include <array>
#include <optional>

namespace rek {
namespace {

using K = QKeySequence;

const std::array<CommandInfo, kCommandCount> kCommands{{
    {CommandId::New, "レクモデルの新規作成 (Ctrl+N)", 0, K(Qt::CTRL | Qt::Key_N), {}, false},
    {CommandId::Open, "レクモデルを開く (Ctrl+O)", 1, K(Qt::CTRL | Qt::Key_O), {}, false},
    {CommandId::SaveAs, "レクモデルを名前を付けて保存", 11, {}, {}, false},
    {CommandId::Save, "レクモデルの上書き保存 (Ctrl+S)", 2, K(Qt::CTRL | Qt::Key_S), {}, false},
    {CommandId::ExportGif, "レクモデルをアニメGIF形式で保存", 12, {}, {}, false},
    {CommandId::ExportBmp, "レクモデルを連番BMPファイルで保存", 28, {}, {}, false},
    {CommandId::Undo, "元に戻す (Ctrl+Z)", 24, K(Qt::CTRL | Qt::Key_Z), {}, false},
    {CommandId::Redo, "やり直し (Ctrl+Y)", 25, K(Qt::CTRL | Qt::Key_Y), {}, false},
    {CommandId::StraightLineMode, "直線モード (1)", 3, K(Qt::Key_1), {}, true},
    {CommandId::CurveMode, "曲線モード (2)", 4, K(Qt::Key_2), {}, true},
    {CommandId::RectMode, "四角形モード (3)", 15, K(Qt::Key_3), {}, true},
    {CommandId::CircleMode, "円モード (4)", 16, K(Qt::Key_4), {}, true},
    {CommandId::FilledRectMode, "塗りつぶし四角形モード (5)", 17, K(Qt::Key_5), {}, true},
    {CommandId::FilledCircleMode, "塗りつぶし円モード (6)", 18, K(Qt::Key_6), {}, true},
    {CommandId::DeleteLastVertex,
     "末尾の頂点の削除 (Shift+Z)",
     23,
     K(Qt::SHIFT | Qt::Key_Z),
     {},
     false},
    {CommandId::RangeSelectMode, "範囲選択モード (M)", 19, K(Qt::Key_M), {}, true},
    {CommandId::SelectAll, "すべての頂点を選択 (Ctrl+A)", 21, K(Qt::CTRL | Qt::Key_A), {}, false},
    {CommandId::Deselect, "選択の解除 (Ctrl+D)", 20, K(Qt::CTRL | Qt::Key_D), {}, false},
    {CommandId::InvertSelection, "選択範囲の反転 (Ctrl+I)", 22, K(Qt::CTRL | Qt::Key_I), {}, false},
    {CommandId::MoveSelection, "選択した頂点の平行移動 (V)", 5, K(Qt::Key_V), {}, true},
    {CommandId::ScaleSelection, "選択した頂点の拡大・縮小 (Z)", 6, K(Qt::Key_Z), {}, true},
    {CommandId::DeleteLines, "選択した直線の削除 (Delete)", 10, K(Qt::Key_Delete), {}, false},
    {CommandId::Vtr, "ＶＴＲモード (Enter)", 7, K(Qt::Key_Return), K(Qt::Key_Enter), true},
    {CommandId::Wobble, "レクモデルの揺れの有無 (Y)", 14, K(Qt::Key_Y), {}, true},
    {CommandId::Properties,
     "レクモデルのプロパティ (Ctrl+P)",
     13,
     K(Qt::CTRL | Qt::Key_P),
     {},
     false},
    {CommandId::Settings, "レクツールの設定", 9, {}, {}, false},
    {CommandId::About, "バージョン情報", 8, {}, {}, false},
}};

constexpr std::optional<CommandId> kSeparator = std::nullopt;

const std::array<std::optional<CommandId>, 39> kToolbar{{
    CommandId::New,
    CommandId::Open,
    CommandId::SaveAs,
    kSeparator,
    CommandId::Save,
    kSeparator,
    CommandId::ExportGif,
    CommandId::ExportBmp,
    kSeparator,
    CommandId::Undo,
    CommandId::Redo,
    kSeparator,
    CommandId::StraightLineMode,
    CommandId::CurveMode,
    CommandId::RectMode,
    CommandId::CircleMode,
    CommandId::FilledRectMode,
    CommandId::FilledCircleMode,
    kSeparator,
    CommandId::DeleteLastVertex,
    kSeparator,
    CommandId::RangeSelectMode,
    CommandId::SelectAll,
    CommandId::Deselect,
    CommandId::InvertSelection,
    kSeparator,
    CommandId::MoveSelection,
    CommandId::ScaleSelection,
    CommandId::DeleteLines,
    kSeparator,
    CommandId::Vtr,
    kSeparator,
    CommandId::Wobble,
    kSeparator,
    CommandId::Properties,
    kSeparator,
    CommandId::Settings,
    kSeparator,
    CommandId::About,
}};

}  // namespace

std::span<const CommandInfo> commandTable() {
    return kCommands;
}

const CommandInfo& commandInfo(CommandId id) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [id](const CommandInfo& info) { return info.id == id; });
}

std::span<const std::optional<CommandId>> toolbarLayout() {
    return kToolbar;
}

}  // namespace rek
