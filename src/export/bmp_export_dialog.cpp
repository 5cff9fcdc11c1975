#include "export/bmp_export_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "export/export_dialog_rules.h"
#include "shell/text/export_messages.h"
#include "shell/text/number_field.h"
#include "shell/ui/dialog_style.h"

namespace rek {

BmpExportDialog::BmpExportDialog(AnimationSnapshot snapshot, const QString& modelPath,
                                 ExportSettings& settings, BrowseForPath browseForPath,
                                 QWidget* parent)
    : ExportDialog(
          Form{
              tr("連番BMPファイルの作成"),
              tr("連番BMPファイル保存先："),
              tr("作成されるBMPファイル"),
              tr("枚"),
              tr("連番BMPファイルのプロパティ"),
              QStringLiteral(".bmp"),
              {tr("連番BMPファイルの保存"),
               QString(),
               {{messages::exportFilterName(ExportTarget::Bmp), ExportTarget::Bmp},
                {messages::exportFilterName(ExportTarget::Png), ExportTarget::Png},
                {messages::exportFilterName(ExportTarget::Svg), ExportTarget::Svg}}},
              numberedOutput,
          },
          std::move(snapshot), modelPath, settings, std::move(browseForPath), parent) {
    setUp();
    // The total size follows the target size too.
    connect(widthEdit(), &QLineEdit::textChanged, this, &BmpExportDialog::updateEstimate);
    connect(heightEdit(), &QLineEdit::textChanged, this, &BmpExportDialog::updateEstimate);
}

void BmpExportDialog::addKindChoices(QVBoxLayout* kinds, QButtonGroup* group) {
    stillButton_ = new QRadioButton(tr("静止画"));
    stillButton_->setObjectName(QStringLiteral("stillButton"));
    group->addButton(stillButton_);
    kinds->addWidget(stillButton_);
    connect(stillButton_, &QRadioButton::toggled, this, &BmpExportDialog::onKindChanged);
}

void BmpExportDialog::addEstimates(QHBoxLayout* row) {
    sizeEstimate_ = figureLabel("sizeEstimate");
    sizeEstimate_->setMinimumWidth(DialogUnits(font()).x(44));
    row->addWidget(new QLabel(tr("合計")));
    row->addWidget(sizeEstimate_);
    row->addWidget(new QLabel(QStringLiteral("MB")));
}

void BmpExportDialog::selectKind(ExportKind kind) {
    if (kind == ExportKind::Still)
        stillButton_->setChecked(true);
    else
        ExportDialog::selectKind(kind);
}

ExportKind BmpExportDialog::checkedKind() const {
    return stillButton_->isChecked() ? ExportKind::Still : ExportDialog::checkedKind();
}

void BmpExportDialog::showEstimate(std::optional<std::uint64_t> frames) {
    const std::optional<std::int32_t> width = parseUnsignedField(widthEdit()->text());
    const std::optional<std::int32_t> height = parseUnsignedField(heightEdit()->text());
    if (!width || !height)
        frames.reset();
    setFrameEstimate(frames);
    sizeEstimate_->setText(frames ? formatMegabytes(static_cast<double>(*height) * *width *
                                                    static_cast<double>(*frames) / 1048576.0)
                                  : invalidEstimate());
}

std::vector<QWidget*> BmpExportDialog::formControls() const {
    return {stillButton_};
}

}  // namespace rek
