#include "export/gif_export_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/export_dialog_rules.h"
#include "shell/text/export_messages.h"

namespace rek {

namespace {

ExportSettings& withoutStill(ExportSettings& settings) {
    if (settings.kind == ExportKind::Still)
        settings.kind = ExportKind::Wobble;
    return settings;
}

}  // namespace

GifExportDialog::GifExportDialog(AnimationSnapshot snapshot, const QString& modelPath,
                                 ExportSettings& settings, BrowseForPath browseForPath,
                                 QWidget* parent)
    : ExportDialog(
          Form{
              tr("アニメーションGIFファイル作成"),
              tr("GIFファイル保存先："),
              tr("現在のアニメーション数"),
              tr("コマ"),
              tr("GIFファイルのプロパティ"),
              QStringLiteral(".gif"),
              {tr("アニメーションGIFファイルの保存"),
               QString(),
               {{messages::exportFilterName(ExportTarget::Gif), ExportTarget::Gif},
                {messages::exportFilterName(ExportTarget::Webp), ExportTarget::Webp},
                {messages::exportFilterName(ExportTarget::Apng), ExportTarget::Apng}}},
              animationOutput,
          },
          std::move(snapshot), modelPath, withoutStill(settings), std::move(browseForPath),
          parent) {
    setUp();
}

void GifExportDialog::addKindNotes(QVBoxLayout* kinds) {
    auto* hint =
        new QLabel(tr("アニメーションのコマ数が増えるほど、ファイルサイズが大きくなります"));
    hint->setWordWrap(true);
    kinds->addWidget(hint);
}

void GifExportDialog::addProperties(QVBoxLayout* properties) {
    transparentBox_ = new QCheckBox(tr("背景色を透明にする"));
    transparentBox_->setObjectName(QStringLiteral("transparentBox"));
    properties->addWidget(transparentBox_);
}

void GifExportDialog::onOutputChanged() {
    // In a GIF, smoothing blends the background into the lines, so it cannot be made
    // transparent; WebP and APNG keep the blend as alpha.
    if (transparentBox_ != nullptr)
        transparentBox_->setEnabled(!antiAliasOnButton()->isChecked() ||
                                    enteredTarget() != ExportTarget::Gif);
}

void GifExportDialog::loadFormSettings() {
    transparentBox_->setChecked(settings().transparent);
    onOutputChanged();
}

bool GifExportDialog::transparentChosen() const {
    return transparentBox_->isChecked();
}

std::vector<QWidget*> GifExportDialog::formControls() const {
    return {transparentBox_};
}

}  // namespace rek
