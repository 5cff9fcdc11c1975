#include "shell/text/messages.h"

#include <gtest/gtest.h>

namespace rek {
namespace {

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

}  // namespace
}  // namespace rek
