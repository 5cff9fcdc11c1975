#include <gtest/gtest.h>

#include <QStringList>

#include "shell/text/export_messages.h"

namespace rek {
namespace {

// The texts are compared as UTF-8 bytes: they are what users know the program by. One text of
// each family.
std::string bytes(const QString& text) {
    return text.toStdString();
}

TEST(ExportMessages, OneTextOfEachFamilyByteForByte) {
    EXPECT_EQ(bytes(messages::exportStage(ExportStage::SavingGif)),
              "GIFファイルを保存中………長時間かかります………");
    EXPECT_EQ(bytes(messages::exportReady()), "上記内容を確認し、「作成」ボタンを押してください。");
    EXPECT_EQ(bytes(messages::exportOverwrite(QStringLiteral("/a/b.gif"))),
              "「/a/b.gif」\nこのファイルはすでに存在します。\n上書きしますか？");
    EXPECT_EQ(bytes(messages::exportFinished(ExportTarget::Bmp, false)),
              "連番BMPファイルの作成に失敗しました。");
    EXPECT_EQ(bytes(messages::exportFilterName(ExportTarget::Apng)), "APNGファイル(*.apng *.png)");

    const UserMessage refused = messages::exportError(ExportError(ExportErrorCode::NoGifFrames));
    EXPECT_EQ(bytes(refused.text),
              "作成されるコマ数が0のため、GIFファイルを作成できません。\n"
              "VTR終了後の待ち時間を長くしてください。");
    EXPECT_EQ(refused.icon, MessageIcon::None);
    const UserMessage failed =
        messages::exportError(ExportError(ExportErrorCode::GifFrameImageMemory));
    EXPECT_EQ(bytes(failed.text), "GIF作成時のコマ画像用メモリが確保できません。");
    EXPECT_EQ(failed.icon, MessageIcon::Error);
    ExportError unwritable(ExportErrorCode::CannotWrite);
    unwritable.path = "/tmp/出力/anim0002.bmp";
    EXPECT_EQ(bytes(messages::exportError(unwritable).text),
              "「/tmp/出力/anim0002.bmp」\nこのファイルに書き込めませんでした。");
    EXPECT_EQ(messages::exportError(unwritable).icon, MessageIcon::Error);
}

TEST(ExportMessages, RefusalsWithFiguresShowThem) {
    ExportError frames(ExportErrorCode::TooManyFrames);
    frames.frames = 1440025;
    EXPECT_EQ(bytes(messages::exportError(frames).text),
              "コマ数が多すぎます（1440025コマ）。\n一度に作成できるのは1000000コマまでです。");

    // Megabytes rounded as printf rounds them: 1.5 MB is "2", 2.5 MB is "2".
    ExportError memory(ExportErrorCode::NotEnoughMemory);
    memory.neededBytes = 5 * 1048576 / 2;
    memory.availableBytes = 3 * 1048576 / 2;
    EXPECT_EQ(bytes(messages::exportError(memory).text),
              "メモリが足りません。\nこの設定では約2MBのメモリが必要ですが、使用できるのは約2MB"
              "です。\n画像を小さくするか、コマ数を減らしてください。");
    memory.neededBytes = std::numeric_limits<std::uint64_t>::max();
    EXPECT_NE(bytes(messages::exportError(memory).text).find("約17592186044416MBのメモリ"),
              std::string::npos);
}

TEST(ExportMessages, EveryErrorIsSaidAndNamesItsFile) {
    for (int code = 0; code < static_cast<int>(ExportErrorCode::Cancelled); ++code) {
        ExportError error(static_cast<ExportErrorCode>(code));
        error.path = "/tmp/名前.webp";
        const UserMessage message = messages::exportError(error);
        EXPECT_FALSE(message.empty()) << code;
        const bool aboutAFile = error.code == ExportErrorCode::CannotWrite ||
                                error.code == ExportErrorCode::OutputIsFolder ||
                                error.code == ExportErrorCode::PathTooLong;
        EXPECT_EQ(message.text.contains(QStringLiteral("「/tmp/名前.webp」")), aboutAFile) << code;
    }
    // A stop the user asked for is not reported.
    EXPECT_TRUE(messages::exportError(ExportError(ExportErrorCode::Cancelled)).empty());
}

}  // namespace
}  // namespace rek
