#include "shell/text/messages.h"

#include <QCoreApplication>

#include "rek/version.h"
#include "shell/file_association.h"

namespace rek::messages {

namespace {

// The texts are Japanese as written here, or their translation into the language chosen at
// start-up (translations/rektool_*.ts).
struct Text {
    Q_DECLARE_TR_FUNCTIONS(Messages)
};

}  // namespace

QString appName() {
    return Text::tr("レクツール");
}

QString appTitle() {
    return appName() + QStringLiteral(" Ver.") + QString::fromLatin1(kAppVersion);
}

QString windowTitle(const QString& displayName, bool modified) {
    const QString name = displayName.isEmpty() ? Text::tr("無題") : displayName;
    const QString mark = modified ? QStringLiteral("* ") : QString();
    return appTitle() + QStringLiteral(" - [ ") + name + QLatin1Char(' ') + mark + QLatin1Char(']');
}

QString vertexCount(std::int32_t count) {
    return Text::tr("頂点の数：%1").arg(count);
}

QString canvasSize(std::int32_t width, std::int32_t height) {
    return QStringLiteral("%1 × %2").arg(width).arg(height);
}

UserMessage modelFileError(ModelFileError error) {
    switch (error) {
        case ModelFileError::CannotOpen:
            return {};
        case ModelFileError::NotModelFile:
            return {Text::tr("レクモデルファイルではありません。")};
        case ModelFileError::Invalid:
            return {Text::tr("正しいレクモデルファイルではありません。")};
        case ModelFileError::NewerVersion:
            return {Text::tr(
                "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んでください。")};
        case ModelFileError::OutOfMemory:
            return {Text::tr("読み込み時の頂点用のメモリが確保できません。"), MessageIcon::Error};
        case ModelFileError::WriteFailed:
            return {Text::tr("ファイルを保存できませんでした。"), MessageIcon::Error};
    }
    return {};
}

UserMessage vertexMemory() {
    return {Text::tr("頂点用のメモリが確保できません。"), MessageIcon::Error};
}

QString openModelTitle() {
    return Text::tr("レクモデルファイルの読み込み");
}

QString saveModelTitle() {
    return Text::tr("レクモデルファイルの保存");
}

// The descriptions are translated; the patterns after them are what the chooser matches.
QString openModelFilters() {
    return Text::tr("レクツール関係ファイル(*.rkm,*rk2)") + QStringLiteral(" (*.rkm *rk2);;") +
           Text::tr("レクモデルファイル(*.rkm)") + QStringLiteral(" (*.rkm);;") +
           Text::tr("旧レクツールファイル(*.rk2)") + QStringLiteral(" (*.rk2)");
}

QString saveModelFilters() {
    return Text::tr("レクモデルファイル(*.rkm)") + QStringLiteral(" (*.rkm)");
}

QString noModel() {
    return Text::tr("レクモデルがありません。");
}

QString saveChanges() {
    return Text::tr("変更されたファイルを保存しますか？");
}

QString alreadyExists(const QString& fileName) {
    return Text::tr("%1 は既に存在します。\n上書きしますか？").arg(fileName);
}

QString multipleStart() {
    return Text::tr("複数起動は禁止されています。");
}

QString recoveryQuestion(const QString& displayName, const QDateTime& savedAt) {
    const QString name = displayName.isEmpty() ? Text::tr("無題") : displayName;
    return Text::tr("前回、保存されていない変更がありました。復元しますか？\n\n%1（%2）")
        .arg(name, savedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
}

QStringList recoveryButtons() {
    return {Text::tr("復元"), Text::tr("破棄"), Text::tr("後で")};
}

UserMessage recoveryUnreadable(const QString& folder) {
    return {Text::tr("復元用のデータを読み込めませんでした。\n次のフォルダに残してあります：\n%1")
                .arg(folder)};
}

QString widthOutOfRange() {
    return Text::tr("レクモデルの幅は 10～800 の値にしてください。");
}

QString heightOutOfRange() {
    return Text::tr("レクモデルの高さは 10～600 の値にしてください。");
}

QString associationDone(AssociationAction action) {
    return action == AssociationAction::Associate
               ? Text::tr("レクモデルファイル(～.rkm)を\n現在起動中のレクツールに関連付けました。")
               : Text::tr("レクモデルファイル(～.rkm)の関連付け情報を削除しました。");
}

QString associationFailed(AssociationAction action, const AssociationProblem& problem) {
    using Kind = AssociationProblem::Kind;
    QString reason;
    switch (problem.kind) {
        case Kind::UnknownLocations:
            reason = action == AssociationAction::Associate
                         ? Text::tr("プログラムまたはデータフォルダの場所が分かりません。")
                         : Text::tr("データフォルダの場所が分かりません。");
            break;
        case Kind::CannotCreateFolder:
            reason = Text::tr("フォルダを作成できません: %1").arg(problem.subject);
            break;
        case Kind::CannotWrite:
            reason = Text::tr("書き込めません: %1").arg(problem.subject);
            break;
        case Kind::CannotRemove:
            reason = Text::tr("削除できません: %1").arg(problem.subject);
            break;
        case Kind::ToolDidNotStart:
            reason = Text::tr("%1 を起動できません。").arg(problem.subject);
            break;
        case Kind::ToolNotResponding:
            reason = Text::tr("%1 が応答しません。").arg(problem.subject);
            break;
        case Kind::ToolFailed:
            reason = Text::tr("%1 が失敗しました。").arg(problem.subject);
            break;
    }
    const QString headline =
        action == AssociationAction::Associate
            ? Text::tr("レクモデルファイル(～.rkm)を関連付けられませんでした。")
            : Text::tr("レクモデルファイル(～.rkm)の関連付け情報を削除できませんでした。");
    return headline + QLatin1Char('\n') + reason;
}

}  // namespace rek::messages
