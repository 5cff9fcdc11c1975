#include "shell/text/messages.h"

#include "rek/version.h"
#include "shell/file_association.h"

namespace rek::messages {

QString appName() {
    return QStringLiteral("レクツール");
}

QString appTitle() {
    return appName() + QStringLiteral(" Ver.") + QString::fromLatin1(kAppVersion);
}

QString windowTitle(const QString& displayName, bool modified) {
    const QString name = displayName.isEmpty() ? QStringLiteral("無題") : displayName;
    const QString mark = modified ? QStringLiteral("* ") : QString();
    return appTitle() + QStringLiteral(" - [ ") + name + QLatin1Char(' ') + mark + QLatin1Char(']');
}

QString vertexCount(std::int32_t count) {
    return QStringLiteral("頂点の数：%1").arg(count);
}

QString canvasSize(std::int32_t width, std::int32_t height) {
    return QStringLiteral("%1 × %2").arg(width).arg(height);
}

UserMessage modelFileError(ModelFileError error) {
    switch (error) {
        case ModelFileError::CannotOpen:
            return {};
        case ModelFileError::NotModelFile:
            return {QStringLiteral("レクモデルファイルではありません。")};
        case ModelFileError::Invalid:
            return {QStringLiteral("正しいレクモデルファイルではありません。")};
        case ModelFileError::NewerVersion:
            return {QStringLiteral(
                "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んでください。")};
        case ModelFileError::OutOfMemory:
            return {QStringLiteral("読み込み時の頂点用のメモリが確保できません。"),
                    MessageIcon::Error};
        case ModelFileError::WriteFailed:
            return {QStringLiteral("ファイルを保存できませんでした。"), MessageIcon::Error};
    }
    return {};
}

UserMessage vertexMemory() {
    return {QStringLiteral("頂点用のメモリが確保できません。"), MessageIcon::Error};
}

QString noModel() {
    return QStringLiteral("レクモデルがありません。");
}

QString saveChanges() {
    return QStringLiteral("変更されたファイルを保存しますか？");
}

QString alreadyExists(const QString& fileName) {
    return QStringLiteral("%1 は既に存在します。\n上書きしますか？").arg(fileName);
}

QString multipleStart() {
    return QStringLiteral("複数起動は禁止されています。");
}

QString recoveryQuestion(const QString& displayName, const QDateTime& savedAt) {
    const QString name = displayName.isEmpty() ? QStringLiteral("無題") : displayName;
    return QStringLiteral("前回、保存されていない変更がありました。復元しますか？\n\n%1（%2）")
        .arg(name, savedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
}

QStringList recoveryButtons() {
    return {QStringLiteral("復元"), QStringLiteral("破棄"), QStringLiteral("後で")};
}

UserMessage recoveryUnreadable(const QString& folder) {
    return {
        QStringLiteral("復元用のデータを読み込めませんでした。\n次のフォルダに残してあります：\n%1")
            .arg(folder)};
}

QString widthOutOfRange() {
    return QStringLiteral("レクモデルの幅は 10～800 の値にしてください。");
}

QString heightOutOfRange() {
    return QStringLiteral("レクモデルの高さは 10～600 の値にしてください。");
}

QString associationDone(AssociationAction action) {
    return action == AssociationAction::Associate
               ? QStringLiteral(
                     "レクモデルファイル(～.rkm)を\n現在起動中のレクツールに関連付けました。")
               : QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除しました。");
}

QString associationFailed(AssociationAction action, const AssociationProblem& problem) {
    using Kind = AssociationProblem::Kind;
    QString reason;
    switch (problem.kind) {
        case Kind::UnknownLocations:
            reason = action == AssociationAction::Associate
                         ? QStringLiteral("プログラムまたはデータフォルダの場所が分かりません。")
                         : QStringLiteral("データフォルダの場所が分かりません。");
            break;
        case Kind::CannotCreateFolder:
            reason = QStringLiteral("フォルダを作成できません: %1").arg(problem.subject);
            break;
        case Kind::CannotWrite:
            reason = QStringLiteral("書き込めません: %1").arg(problem.subject);
            break;
        case Kind::CannotRemove:
            reason = QStringLiteral("削除できません: %1").arg(problem.subject);
            break;
        case Kind::ToolDidNotStart:
            reason = QStringLiteral("%1 を起動できません。").arg(problem.subject);
            break;
        case Kind::ToolNotResponding:
            reason = QStringLiteral("%1 が応答しません。").arg(problem.subject);
            break;
        case Kind::ToolFailed:
            reason = QStringLiteral("%1 が失敗しました。").arg(problem.subject);
            break;
    }
    const QString headline =
        action == AssociationAction::Associate
            ? QStringLiteral("レクモデルファイル(～.rkm)を関連付けられませんでした。")
            : QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除できませんでした。");
    return headline + QLatin1Char('\n') + reason;
}

}  // namespace rek::messages
