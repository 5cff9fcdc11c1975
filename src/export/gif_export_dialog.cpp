#include "export/gif_export_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/export_dialog_rules.h"

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
              ExportTarget::Gif,
              QString::fromUtf8("アニメーションGIFファイル作成"),
              QString::fromUtf8("GIFファイル保存先："),
              QString::fromUtf8("現在のアニメーション数"),
              QString::fromUtf8("コマ"),
              QString::fromUtf8("GIFファイルのプロパティ"),
              QStringLiteral(".gif"),
              {QString::fromUtf8("アニメーションGIFファイルの保存"), QString(),
               QString::fromUtf8("GIFファイル(*.gif)"), QStringLiteral("*.gif")},
          },
          std::move(snapshot), modelPath, withoutStill(settings), std::move(browseForPath),
          parent) {
    setUp();
}

void GifExportDialog::addKindNotes(QVBoxLayout* kinds) {
    auto* hint = new QLabel(
        QString::fromUtf8("アニメーションのコマ数が増えるほど、ファイルサイズが大きくなります"));
    hint->setWordWrap(true);
    kinds->addWidget(hint);
}

void GifExportDialog::addProperties(QVBoxLayout* properties) {
    transparentBox_ = new QCheckBox(QString::fromUtf8("背景色を透明にする"));
    transparentBox_->setObjectName(QStringLiteral("transparentBox"));
    properties->addWidget(transparentBox_);
    // Smoothing blends the background into the lines, so it cannot be made transparent.
    connect(antiAliasOnButton(), &QRadioButton::toggled, this,
            [this](bool antiAlias) { transparentBox_->setEnabled(!antiAlias); });
}

void GifExportDialog::loadFormSettings() {
    transparentBox_->setChecked(settings().transparent);
    transparentBox_->setEnabled(!settings().antiAlias);
}

bool GifExportDialog::transparentChosen() const {
    return transparentBox_->isChecked();
}

QString GifExportDialog::outputPath(const QString& entered) const {
    return gifOutputPath(entered);
}

QString GifExportDialog::firstFile(const ExportRequest& request) const {
    return QString::fromStdString(request.path);
}

std::vector<QWidget*> GifExportDialog::formControls() const {
    return {transparentBox_};
}

}  // namespace rek
