#pragma once

#include "export/export_dialog.h"

namespace rek {

// "連番BMPファイルの作成": the shared form with a still image among the kinds and the total
// size of the files next to their number. The name picks a BMP set, a PNG set or (for the
// still image) SVG.
class BmpExportDialog final : public ExportDialog {
    Q_OBJECT

  public:
    BmpExportDialog(AnimationSnapshot snapshot, const QString& modelPath, ExportSettings& settings,
                    BrowseForPath browseForPath, QWidget* parent = nullptr);

  private:
    void addKindChoices(QVBoxLayout* kinds, QButtonGroup* group) override;
    void addEstimates(QHBoxLayout* row) override;
    void selectKind(ExportKind kind) override;
    ExportKind checkedKind() const override;
    void showEstimate(std::optional<std::uint64_t> frames) override;
    std::vector<QWidget*> formControls() const override;

    QRadioButton* stillButton_ = nullptr;
    QLabel* sizeEstimate_ = nullptr;
};

}  // namespace rek
