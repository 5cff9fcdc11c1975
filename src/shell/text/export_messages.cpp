#include "shell/text/export_messages.h"

#include <QCoreApplication>
#include <cstdio>

#include "export/export_limits.h"

namespace rek::messages {

namespace {

// Japanese as written here, or translated into the language chosen at start-up.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(ExportMessages)
};

UserMessage refusal(const QString& text) {
    return {text};
}

UserMessage failure(const QString& text) {
    return {text, MessageIcon::Error};
}

QString tooManyFrames(std::uint64_t frames) {
    return Text::tr("コマ数が多すぎます（%1コマ）。\n一度に作成できるのは%2コマまでです。")
        .arg(QString::number(frames), QString::number(kMaxExportFrames));
}

UserMessage aboutName(const QString& text, const std::string& path) {
    return {Text::tr("「%1」\n%2").arg(QString::fromUtf8(path), text)};
}

// Whole megabytes as printf rounds them, halves to even.
QString megabytes(std::uint64_t bytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(bytes) / 1048576.0);
    return QString::fromLatin1(text);
}

QString notEnoughMemory(std::uint64_t needed, std::uint64_t available) {
    return Text::tr(
               "メモリが足りません。\nこの設定では約%1MBのメモリが必要ですが、"
               "使用できるのは約%2MBです。\n画像を小さくするか、コマ数を減らしてください。")
        .arg(megabytes(needed), megabytes(available));
}

// A file type of the save chooser: the description with its patterns in parentheses.
QString filter(const QString& description, const char* patterns) {
    return description.arg(QString::fromLatin1(patterns));
}

}  // namespace

QString exportStage(ExportStage stage) {
    switch (stage) {
        case ExportStage::CreatingImages:
            return Text::tr("画像データを作成中………");
        case ExportStage::SavingGif:
            return Text::tr("GIFファイルを保存中………長時間かかります………");
        case ExportStage::SavingFile:
            return Text::tr("ファイルを保存中………");
        case ExportStage::Done:
            return Text::tr("作業完了！");
    }
    return {};
}

QString exportReady() {
    return Text::tr("上記内容を確認し、「作成」ボタンを押してください。");
}

QString exportStopped() {
    return Text::tr("中止しました。");
}

QString exportStopButton() {
    return Text::tr("中止");
}

QString exportFilterName(ExportTarget target) {
    switch (target) {
        case ExportTarget::Gif:
            return filter(Text::tr("GIFファイル(%1)"), "*.gif");
        case ExportTarget::Bmp:
            return filter(Text::tr("BMPファイル(%1)"), "*.bmp");
        case ExportTarget::Webp:
            return filter(Text::tr("WebPファイル(%1)"), "*.webp");
        case ExportTarget::Apng:
            return filter(Text::tr("APNGファイル(%1)"), "*.apng *.png");
        case ExportTarget::Png:
            return filter(Text::tr("PNGファイル(%1)"), "*.png");
        case ExportTarget::Svg:
            return filter(Text::tr("SVGファイル(%1)"), "*.svg");
    }
    return {};
}

UserMessage exportError(const ExportError& error) {
    switch (error.code) {
        case ExportErrorCode::NoPath:
            return refusal(Text::tr("ファイル名が入力されていません。"));
        case ExportErrorCode::OutputIsFolder:
            return aboutName(
                Text::tr("フォルダーの名前です。\n保存するファイルの名前を入力してください。"),
                error.path);
        case ExportErrorCode::PathTooLong:
            return aboutName(Text::tr("ファイル名が長すぎます。"), error.path);
        case ExportErrorCode::StillAsAnimation:
            return refusal(
                Text::tr("静止画はアニメーションWebP・APNGファイルでは作成できません。"));
        case ExportErrorCode::SvgNotStill:
            return refusal(Text::tr("SVGファイルで作成できるのは静止画だけです。"));
        case ExportErrorCode::NoTransparency:
            return refusal(Text::tr("BMPファイルでは背景色を透明にできません。"));
        case ExportErrorCode::QualityInvalid:
            return refusal(Text::tr("画質はWebPファイルにだけ、0から100までの値で指定できます。"));
        case ExportErrorCode::NoAnimationFrames:
            return refusal(
                Text::tr("作成されるコマ数が0のため、アニメーションファイルを作成できません。\n"
                         "VTR終了後の待ち時間を長くしてください。"));
        case ExportErrorCode::WebpSizeTooLarge:
            return refusal(Text::tr("WebPファイルの幅と高さは16383以下にしてください。"));
        case ExportErrorCode::WorkScreenMemory:
            return failure(Text::tr("画像作成時の作業画面用メモリが確保できません。"));
        case ExportErrorCode::FrameImageMemory:
            return failure(Text::tr("画像作成時のコマ画像用メモリが確保できません。"));
        case ExportErrorCode::EncoderFailed:
            return failure(Text::tr("画像の圧縮に失敗しました。"));
        case ExportErrorCode::KindInvalid:
            return refusal(Text::tr("アニメーションの種類が不正です。"));
        case ExportErrorCode::StillAsGif:
            return refusal(Text::tr("静止画はGIFファイルでは作成できません。"));
        case ExportErrorCode::WaitInvalid:
            return refusal(Text::tr("VTR終了後の待ち時間の値が不正です。"));
        case ExportErrorCode::WaitTooLong:
            return refusal(Text::tr("VTR終了後の待ち時間は86400秒以下にしてください。"));
        case ExportErrorCode::DelayInvalid:
            return refusal(Text::tr("VTRのなめらかさの値が不正です。"));
        case ExportErrorCode::WidthInvalid:
            return refusal(Text::tr("画像の幅の値が不正です。"));
        case ExportErrorCode::HeightInvalid:
            return refusal(Text::tr("画像の高さの値が不正です。"));
        case ExportErrorCode::SizeTooLarge:
            return refusal(
                Text::tr("画像が大きすぎます。\n"
                         "幅と高さはそれぞれ16384以下、幅×高さは67108864以下にしてください。"));
        case ExportErrorCode::TooManyFrames:
            return {tooManyFrames(error.frames)};
        case ExportErrorCode::NoGifFrames:
            return refusal(
                Text::tr("作成されるコマ数が0のため、GIFファイルを作成できません。\n"
                         "VTR終了後の待ち時間を長くしてください。"));
        case ExportErrorCode::NotEnoughMemory:
            return {notEnoughMemory(error.neededBytes, error.availableBytes)};
        case ExportErrorCode::GifWorkScreenMemory:
            return failure(Text::tr("GIF作成時の作業画面用メモリが確保できません。"));
        case ExportErrorCode::GifFrameImageMemory:
            return failure(Text::tr("GIF作成時のコマ画像用メモリが確保できません。"));
        case ExportErrorCode::GifAnimationInfoMemory:
            return failure(Text::tr("GIF作成時のアニメ情報用メモリが確保できません。"));
        case ExportErrorCode::BmpWorkScreenMemory:
            return failure(Text::tr("BMP作成時の作業画面用メモリが確保できません。"));
        case ExportErrorCode::BmpFrameImageMemory:
            return failure(Text::tr("BMP作成時のコマ画像用メモリが確保できません。"));
        case ExportErrorCode::CannotWrite:
            return failure(Text::tr("「%1」\nこのファイルに書き込めませんでした。")
                               .arg(QString::fromUtf8(error.path)));
        case ExportErrorCode::Cancelled:
            return {};
    }
    return {};
}

QString exportOverwrite(const QString& path) {
    return Text::tr("「%1」\nこのファイルはすでに存在します。\n上書きしますか？").arg(path);
}

QString exportFinished(ExportTarget target, bool succeeded) {
    switch (target) {
        case ExportTarget::Gif:
            return succeeded ? Text::tr("アニメーションGIFファイルを作成しました。")
                             : Text::tr("アニメーションGIFファイルの作成に失敗しました。");
        case ExportTarget::Bmp:
            return succeeded ? Text::tr("連番BMPファイルを作成しました。")
                             : Text::tr("連番BMPファイルの作成に失敗しました。");
        case ExportTarget::Webp:
            return succeeded ? Text::tr("アニメーションWebPファイルを作成しました。")
                             : Text::tr("アニメーションWebPファイルの作成に失敗しました。");
        case ExportTarget::Apng:
            return succeeded ? Text::tr("APNGファイルを作成しました。")
                             : Text::tr("APNGファイルの作成に失敗しました。");
        case ExportTarget::Png:
            return succeeded ? Text::tr("連番PNGファイルを作成しました。")
                             : Text::tr("連番PNGファイルの作成に失敗しました。");
        case ExportTarget::Svg:
            return succeeded ? Text::tr("SVGファイルを作成しました。")
                             : Text::tr("SVGファイルの作成に失敗しました。");
    }
    return {};
}

}  // namespace rek::messages
