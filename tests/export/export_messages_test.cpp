#include <gtest/gtest.h>

#include <QStringList>
#include <utility>
#include <vector>

#include "shell/text/export_messages.h"

namespace rek {
namespace {

// The texts are compared as UTF-8 bytes: they are what users know the program by.
std::string bytes(const QString& text) {
    return text.toStdString();
}

UserMessage messageFor(ExportErrorCode code) {
    return messages::exportError(ExportError(code));
}

TEST(ExportMessages, StatusLineTexts) {
    EXPECT_EQ(bytes(messages::exportStage(ExportStage::CreatingImages)), "画像データを作成中………");
    EXPECT_EQ(bytes(messages::exportStage(ExportStage::SavingGif)),
              "GIFファイルを保存中………長時間かかります………");
    EXPECT_EQ(bytes(messages::exportStage(ExportStage::Done)), "作業完了！");
    EXPECT_EQ(bytes(messages::exportReady()), "上記内容を確認し、「作成」ボタンを押してください。");
}

TEST(ExportMessages, RefusedRequestsAreSaidWithoutIcon) {
    const std::vector<std::pair<ExportErrorCode, const char*>> refusals = {
        {ExportErrorCode::NoPath, "ファイル名が入力されていません。"},
        {ExportErrorCode::KindInvalid, "アニメーションの種類が不正です。"},
        {ExportErrorCode::StillAsGif, "静止画はGIFファイルでは作成できません。"},
        {ExportErrorCode::WaitInvalid, "VTR終了後の待ち時間の値が不正です。"},
        {ExportErrorCode::WaitTooLong, "VTR終了後の待ち時間は86400秒以下にしてください。"},
        {ExportErrorCode::DelayInvalid, "VTRのなめらかさの値が不正です。"},
        {ExportErrorCode::WidthInvalid, "画像の幅の値が不正です。"},
        {ExportErrorCode::HeightInvalid, "画像の高さの値が不正です。"},
        {ExportErrorCode::SizeTooLarge,
         "画像が大きすぎます。\n"
         "幅と高さはそれぞれ16384以下、幅×高さは67108864以下にしてください。"},
        {ExportErrorCode::NoGifFrames,
         "作成されるコマ数が0のため、GIFファイルを作成できません。\n"
         "VTR終了後の待ち時間を長くしてください。"},
    };
    for (const auto& [code, text] : refusals) {
        const UserMessage message = messageFor(code);
        EXPECT_EQ(bytes(message.text), text) << static_cast<int>(code);
        EXPECT_EQ(message.icon, MessageIcon::None) << static_cast<int>(code);
    }
}

TEST(ExportMessages, RefusalsWithFiguresShowThem) {
    ExportError frames(ExportErrorCode::TooManyFrames);
    frames.frames = 1440025;
    EXPECT_EQ(bytes(messages::exportError(frames).text),
              "コマ数が多すぎます（1440025コマ）。\n一度に作成できるのは1000000コマまでです。");
    EXPECT_EQ(messages::exportError(frames).icon, MessageIcon::None);

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

TEST(ExportMessages, FailuresOfARunCarryTheErrorIcon) {
    const std::vector<std::pair<ExportErrorCode, const char*>> failures = {
        {ExportErrorCode::GifWorkScreenMemory, "GIF作成時の作業画面用メモリが確保できません。"},
        {ExportErrorCode::GifFrameImageMemory, "GIF作成時のコマ画像用メモリが確保できません。"},
        {ExportErrorCode::GifAnimationInfoMemory,
         "GIF作成時のアニメ情報用メモリが確保できません。"},
        {ExportErrorCode::BmpWorkScreenMemory, "BMP作成時の作業画面用メモリが確保できません。"},
        {ExportErrorCode::BmpFrameImageMemory, "BMP作成時のコマ画像用メモリが確保できません。"},
    };
    for (const auto& [code, text] : failures) {
        const UserMessage message = messageFor(code);
        EXPECT_EQ(bytes(message.text), text) << static_cast<int>(code);
        EXPECT_EQ(message.icon, MessageIcon::Error) << static_cast<int>(code);
    }

    ExportError unwritable(ExportErrorCode::CannotWrite);
    unwritable.path = "/tmp/出力/anim0002.bmp";
    EXPECT_EQ(bytes(messages::exportError(unwritable).text),
              "「/tmp/出力/anim0002.bmp」\nこのファイルに書き込めませんでした。");
    EXPECT_EQ(messages::exportError(unwritable).icon, MessageIcon::Error);

    // A stop the user asked for is not reported.
    EXPECT_TRUE(messageFor(ExportErrorCode::Cancelled).empty());
}

TEST(ExportMessages, DialogQuestionAndResults) {
    EXPECT_EQ(bytes(messages::exportOverwrite(QStringLiteral("/a/b.gif"))),
              "「/a/b.gif」\nこのファイルはすでに存在します。\n上書きしますか？");
    EXPECT_EQ(bytes(messages::exportFinished(ExportTarget::Gif, true)),
              "アニメーションGIFファイルを作成しました。");
    EXPECT_EQ(bytes(messages::exportFinished(ExportTarget::Gif, false)),
              "アニメーションGIFファイルの作成に失敗しました。");
    EXPECT_EQ(bytes(messages::exportFinished(ExportTarget::Bmp, true)),
              "連番BMPファイルを作成しました。");
    EXPECT_EQ(bytes(messages::exportFinished(ExportTarget::Bmp, false)),
              "連番BMPファイルの作成に失敗しました。");
}

TEST(ExportMessages, EveryErrorIsSaidAndNamesItsFile) {
    for (int code = 0; code <= static_cast<int>(ExportErrorCode::Cancelled); ++code) {
        ExportError error(static_cast<ExportErrorCode>(code));
        error.path = "/tmp/名前.webp";
        const UserMessage message = messages::exportError(error);
        if (error.code == ExportErrorCode::Cancelled)
            continue;
        EXPECT_FALSE(message.empty()) << code;
        const bool aboutAFile = error.code == ExportErrorCode::CannotWrite ||
                                error.code == ExportErrorCode::OutputIsFolder ||
                                error.code == ExportErrorCode::PathTooLong;
        EXPECT_EQ(message.text.contains(QStringLiteral("「/tmp/名前.webp」")), aboutAFile) << code;
    }
    EXPECT_EQ(bytes(messages::exportError(ExportError(ExportErrorCode::OutputIsFolder)).text),
              "「」\nフォルダーの名前です。\n保存するファイルの名前を入力してください。");
    EXPECT_EQ(bytes(messages::exportStopped()), "中止しました。");
    EXPECT_EQ(bytes(messages::exportStopButton()), "中止");
}

TEST(ExportMessages, EachFormatHasItsOwnResultAndChooserType) {
    QStringList seen;
    for (const ExportTarget target : {ExportTarget::Gif, ExportTarget::Bmp, ExportTarget::Webp,
                                      ExportTarget::Apng, ExportTarget::Png, ExportTarget::Svg}) {
        seen << messages::exportFinished(target, true) << messages::exportFinished(target, false)
             << messages::exportFilterName(target);
    }
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 18);
    EXPECT_EQ(bytes(messages::exportFilterName(ExportTarget::Apng)), "APNGファイル(*.apng *.png)");
    EXPECT_EQ(bytes(messages::exportStage(ExportStage::SavingFile)), "ファイルを保存中………");
}

}  // namespace
}  // namespace rek
