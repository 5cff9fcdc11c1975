#include "shell/text/export_messages.h"

#include <cstdio>

#include "export/export_limits.h"

namespace rek::messages {

namespace {

UserMessage refusal(const char* text) {
    return {QString::fromUtf8(text)};
}

UserMessage failure(const char* text) {
    return {QString::fromUtf8(text), MessageIcon::Error};
}

QString tooManyFrames(std::uint64_t frames) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "コマ数が多すぎます（%lluコマ）。\n一度に作成できるのは%lluコマまでです。",
                  static_cast<unsigned long long>(frames),
                  static_cast<unsigned long long>(kMaxExportFrames));
    return QString::fromUtf8(text);
}

UserMessage aboutName(const char* text, const std::string& path) {
    return {QStringLiteral("「%1」\n%2").arg(QString::fromUtf8(path), QString::fromUtf8(text))};
}

QString notEnoughMemory(std::uint64_t needed, std::uint64_t available) {
    char text[320];
    std::snprintf(text, sizeof text,
                  "メモリが足りません。\nこの設定では約%.0fMBのメモリが必要ですが、"
                  "使用できるのは約%.0fMBです。\n画像を小さくするか、コマ数を減らしてください。",
                  static_cast<double>(needed) / 1048576.0,
                  static_cast<double>(available) / 1048576.0);
    return QString::fromUtf8(text);
}

}  // namespace

QString exportStage(ExportStage stage) {
    switch (stage) {
        case ExportStage::CreatingImages:
            return QStringLiteral("画像データを作成中………");
        case ExportStage::SavingGif:
            return QStringLiteral("GIFファイルを保存中………長時間かかります………");
        case ExportStage::SavingFile:
            return QStringLiteral("ファイルを保存中………");
        case ExportStage::Done:
            return QStringLiteral("作業完了！");
    }
    return {};
}

QString exportReady() {
    return QStringLiteral("上記内容を確認し、「作成」ボタンを押してください。");
}

QString exportStopped() {
    return QStringLiteral("中止しました。");
}

QString exportStopButton() {
    return QStringLiteral("中止");
}

QString exportFilterName(ExportTarget target) {
    switch (target) {
        case ExportTarget::Gif:
            return QStringLiteral("GIFファイル(*.gif)");
        case ExportTarget::Bmp:
            return QStringLiteral("BMPファイル(*.bmp)");
        case ExportTarget::Webp:
            return QStringLiteral("WebPファイル(*.webp)");
        case ExportTarget::Apng:
            return QStringLiteral("APNGファイル(*.apng *.png)");
        case ExportTarget::Png:
            return QStringLiteral("PNGファイル(*.png)");
        case ExportTarget::Svg:
            return QStringLiteral("SVGファイル(*.svg)");
    }
    return {};
}

UserMessage exportError(const ExportError& error) {
    switch (error.code) {
        case ExportErrorCode::NoPath:
            return refusal("ファイル名が入力されていません。");
        case ExportErrorCode::OutputIsFolder:
            return aboutName("フォルダーの名前です。\n保存するファイルの名前を入力してください。",
                             error.path);
        case ExportErrorCode::PathTooLong:
            return aboutName("ファイル名が長すぎます。", error.path);
        case ExportErrorCode::StillAsAnimation:
            return refusal("静止画はアニメーションWebP・APNGファイルでは作成できません。");
        case ExportErrorCode::SvgNotStill:
            return refusal("SVGファイルで作成できるのは静止画だけです。");
        case ExportErrorCode::NoTransparency:
            return refusal("BMPファイルでは背景色を透明にできません。");
        case ExportErrorCode::QualityInvalid:
            return refusal("画質はWebPファイルにだけ、0から100までの値で指定できます。");
        case ExportErrorCode::NoAnimationFrames:
            return refusal(
                "作成されるコマ数が0のため、アニメーションファイルを作成できません。\n"
                "VTR終了後の待ち時間を長くしてください。");
        case ExportErrorCode::WebpSizeTooLarge:
            return refusal("WebPファイルの幅と高さは16383以下にしてください。");
        case ExportErrorCode::WorkScreenMemory:
            return failure("画像作成時の作業画面用メモリが確保できません。");
        case ExportErrorCode::FrameImageMemory:
            return failure("画像作成時のコマ画像用メモリが確保できません。");
        case ExportErrorCode::EncoderFailed:
            return failure("画像の圧縮に失敗しました。");
        case ExportErrorCode::KindInvalid:
            return refusal("アニメーションの種類が不正です。");
        case ExportErrorCode::StillAsGif:
            return refusal("静止画はGIFファイルでは作成できません。");
        case ExportErrorCode::WaitInvalid:
            return refusal("VTR終了後の待ち時間の値が不正です。");
        case ExportErrorCode::WaitTooLong:
            return refusal("VTR終了後の待ち時間は86400秒以下にしてください。");
        case ExportErrorCode::DelayInvalid:
            return refusal("VTRのなめらかさの値が不正です。");
        case ExportErrorCode::WidthInvalid:
            return refusal("画像の幅の値が不正です。");
        case ExportErrorCode::HeightInvalid:
            return refusal("画像の高さの値が不正です。");
        case ExportErrorCode::SizeTooLarge:
            return refusal(
                "画像が大きすぎます。\n"
                "幅と高さはそれぞれ16384以下、幅×高さは67108864以下にしてください。");
        case ExportErrorCode::TooManyFrames:
            return {tooManyFrames(error.frames)};
        case ExportErrorCode::NoGifFrames:
            return refusal(
                "作成されるコマ数が0のため、GIFファイルを作成できません。\n"
                "VTR終了後の待ち時間を長くしてください。");
        case ExportErrorCode::NotEnoughMemory:
            return {notEnoughMemory(error.neededBytes, error.availableBytes)};
        case ExportErrorCode::GifWorkScreenMemory:
            return failure("GIF作成時の作業画面用メモリが確保できません。");
        case ExportErrorCode::GifFrameImageMemory:
            return failure("GIF作成時のコマ画像用メモリが確保できません。");
        case ExportErrorCode::GifAnimationInfoMemory:
            return failure("GIF作成時のアニメ情報用メモリが確保できません。");
        case ExportErrorCode::BmpWorkScreenMemory:
            return failure("BMP作成時の作業画面用メモリが確保できません。");
        case ExportErrorCode::BmpFrameImageMemory:
            return failure("BMP作成時のコマ画像用メモリが確保できません。");
        case ExportErrorCode::CannotWrite:
            return failure(
                ("「" + error.path + "」\nこのファイルに書き込めませんでした。").c_str());
        case ExportErrorCode::Cancelled:
            return {};
    }
    return {};
}

QString exportOverwrite(const QString& path) {
    return QStringLiteral("「%1」\nこのファイルはすでに存在します。\n上書きしますか？").arg(path);
}

QString exportFinished(ExportTarget target, bool succeeded) {
    switch (target) {
        case ExportTarget::Gif:
            return succeeded ? QStringLiteral("アニメーションGIFファイルを作成しました。")
                             : QStringLiteral("アニメーションGIFファイルの作成に失敗しました。");
        case ExportTarget::Bmp:
            return succeeded ? QStringLiteral("連番BMPファイルを作成しました。")
                             : QStringLiteral("連番BMPファイルの作成に失敗しました。");
        case ExportTarget::Webp:
            return succeeded ? QStringLiteral("アニメーションWebPファイルを作成しました。")
                             : QStringLiteral("アニメーションWebPファイルの作成に失敗しました。");
        case ExportTarget::Apng:
            return succeeded ? QStringLiteral("APNGファイルを作成しました。")
                             : QStringLiteral("APNGファイルの作成に失敗しました。");
        case ExportTarget::Png:
            return succeeded ? QStringLiteral("連番PNGファイルを作成しました。")
                             : QStringLiteral("連番PNGファイルの作成に失敗しました。");
        case ExportTarget::Svg:
            return succeeded ? QStringLiteral("SVGファイルを作成しました。")
                             : QStringLiteral("SVGファイルの作成に失敗しました。");
    }
    return {};
}

}  // namespace rek::messages
