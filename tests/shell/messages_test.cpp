#include "shell/text/messages.h"

#include <gtest/gtest.h>

#include "rek/version.h"
#include "shell/file_association.h"
#include "shell_test_support.h"

namespace rek {
namespace {

TEST(MessagesTest, TheCaptionCarriesTheProjectVersion) {
    // The generated header is the one source of the version; the caption follows it.
    EXPECT_STREQ(kAppVersion, REK_EXPECTED_VERSION);
    EXPECT_EQ(messages::appTitle(), test::programTitle());
}

// Refused files carry no icon; the failures to get memory or to write carry the error icon.
TEST(MessagesTest, ModelFileErrorsHaveTheProgramsWordingAndIcon) {
    const struct {
        ModelFileError error;
        const char* text;
        MessageIcon icon;
    } cases[] = {
        {ModelFileError::NotModelFile, "レクモデルファイルではありません。", MessageIcon::None},
        {ModelFileError::Invalid, "正しいレクモデルファイルではありません。", MessageIcon::None},
        {ModelFileError::NewerVersion,
         "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んでください。",
         MessageIcon::None},
        {ModelFileError::OutOfMemory, "読み込み時の頂点用のメモリが確保できません。",
         MessageIcon::Error},
        {ModelFileError::WriteFailed, "ファイルを保存できませんでした。", MessageIcon::Error},
    };
    for (const auto& c : cases) {
        const UserMessage message = messages::modelFileError(c.error);
        EXPECT_EQ(message.text, QString::fromUtf8(c.text));
        EXPECT_EQ(message.icon, c.icon) << c.text;
    }
}

TEST(MessagesTest, AssociationReportsNameTheActionAndTheReason) {
    using Kind = AssociationProblem::Kind;
    const auto associate = AssociationAction::Associate;
    const auto remove = AssociationAction::Remove;
    EXPECT_EQ(
        messages::associationDone(associate),
        QStringLiteral("レクモデルファイル(～.rkm)を\n現在起動中のレクツールに関連付けました。"));
    EXPECT_EQ(messages::associationDone(remove),
              QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除しました。"));

    const QString cannotAssociate =
        QStringLiteral("レクモデルファイル(～.rkm)を関連付けられませんでした。\n");
    const QString cannotRemove =
        QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除できませんでした。\n");
    EXPECT_EQ(
        messages::associationFailed(associate, {Kind::UnknownLocations, {}}),
        cannotAssociate + QStringLiteral("プログラムまたはデータフォルダの場所が分かりません。"));
    EXPECT_EQ(messages::associationFailed(remove, {Kind::UnknownLocations, {}}),
              cannotRemove + QStringLiteral("データフォルダの場所が分かりません。"));
    EXPECT_EQ(messages::associationFailed(remove, {Kind::CannotRemove, QStringLiteral("/d/x")}),
              cannotRemove + QStringLiteral("削除できません: /d/x"));
    EXPECT_EQ(messages::associationFailed(associate, {Kind::ToolFailed, QStringLiteral("/d/x")}),
              cannotAssociate + QStringLiteral("/d/x が失敗しました。"));
}

}  // namespace
}  // namespace rek
