#include "shell/text/messages.h"

#include <gtest/gtest.h>

#include "rek/version.h"
#include "shell/file_association.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using test::programTitle;

TEST(MessagesTest, TheCaptionCarriesTheProjectVersion) {
    // The generated header is the one source of the version; the caption follows it.
    EXPECT_STREQ(kAppVersion, REK_EXPECTED_VERSION);
    EXPECT_EQ(messages::appTitle(), programTitle());
    EXPECT_EQ(messages::appTitle(), messages::appName() + QStringLiteral(" Ver.") + kAppVersion);
    EXPECT_EQ(messages::appName(), QStringLiteral("レクツール"));
}

TEST(MessagesTest, TitleShowsNameAndChangeMark) {
    const QString title = programTitle();
    EXPECT_EQ(messages::windowTitle({}, false), title + QStringLiteral(" - [ 無題 ]"));
    EXPECT_EQ(messages::windowTitle({}, true), title + QStringLiteral(" - [ 無題 * ]"));
    EXPECT_EQ(messages::windowTitle(QStringLiteral("face.rkm"), true),
              title + QStringLiteral(" - [ face.rkm * ]"));
    EXPECT_EQ(messages::windowTitle(QStringLiteral("face.rkm"), false),
              title + QStringLiteral(" - [ face.rkm ]"));
}

TEST(MessagesTest, StatusBarTexts) {
    EXPECT_EQ(messages::vertexCount(0), QStringLiteral("頂点の数：0"));
    EXPECT_EQ(messages::vertexCount(12345), QStringLiteral("頂点の数：12345"));
    EXPECT_EQ(messages::canvasSize(320, 240), QStringLiteral("320 × 240"));
}

struct FileErrorCase {
    ModelFileError error;
    const char* text;
    MessageIcon icon;
};

class ModelFileErrorText : public ::testing::TestWithParam<FileErrorCase> {};

TEST_P(ModelFileErrorText, IsTheProgramsWordingWithItsIcon) {
    const UserMessage message = messages::modelFileError(GetParam().error);
    EXPECT_EQ(message.text, QString::fromUtf8(GetParam().text));
    EXPECT_EQ(message.icon, GetParam().icon);
}

// Refused files carry no icon; the failures to get memory or to write carry the error icon.
INSTANTIATE_TEST_SUITE_P(
    EveryError, ModelFileErrorText,
    ::testing::Values(
        FileErrorCase{ModelFileError::NotModelFile, "レクモデルファイルではありません。",
                      MessageIcon::None},
        FileErrorCase{ModelFileError::Invalid, "正しいレクモデルファイルではありません。",
                      MessageIcon::None},
        FileErrorCase{ModelFileError::NewerVersion,
                      "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んで"
                      "ください。",
                      MessageIcon::None},
        FileErrorCase{ModelFileError::OutOfMemory, "読み込み時の頂点用のメモリが確保できません。",
                      MessageIcon::Error},
        FileErrorCase{ModelFileError::WriteFailed, "ファイルを保存できませんでした。",
                      MessageIcon::Error}));

TEST(MessagesTest, AFileThatCannotBeOpenedIsRefusedWithoutAMessage) {
    EXPECT_TRUE(messages::modelFileError(ModelFileError::CannotOpen).empty());
}

TEST(MessagesTest, VertexMemoryCarriesTheErrorIcon) {
    const UserMessage message = messages::vertexMemory();
    EXPECT_EQ(message.text, QStringLiteral("頂点用のメモリが確保できません。"));
    EXPECT_EQ(message.icon, MessageIcon::Error);
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

    const QString subject = QStringLiteral("/d/x");
    const std::pair<Kind, QString> reasons[] = {
        {Kind::CannotCreateFolder, QStringLiteral("フォルダを作成できません: /d/x")},
        {Kind::CannotWrite, QStringLiteral("書き込めません: /d/x")},
        {Kind::CannotRemove, QStringLiteral("削除できません: /d/x")},
        {Kind::ToolDidNotStart, QStringLiteral("/d/x を起動できません。")},
        {Kind::ToolNotResponding, QStringLiteral("/d/x が応答しません。")},
        {Kind::ToolFailed, QStringLiteral("/d/x が失敗しました。")},
    };
    for (const auto& [kind, reason] : reasons) {
        EXPECT_EQ(messages::associationFailed(associate, {kind, subject}),
                  cannotAssociate + reason);
        EXPECT_EQ(messages::associationFailed(remove, {kind, subject}), cannotRemove + reason);
    }
}

}  // namespace
}  // namespace rek
