#pragma once

#include "export/export_dialog.h"

class QCheckBox;

namespace rek {

// "アニメーションGIFファイル作成": the shared form with a transparent background and a hint
// that more frames make a larger file. The name picks GIF, WebP or APNG; a GIF's background
// can be transparent without anti-aliasing only.
class GifExportDialog final : public ExportDialog {
    Q_OBJECT

  public:
    // A remembered still image, which a GIF cannot be, is forgotten: the dialog opens on the
    // wobble and `settings` says so from then on.
    GifExportDialog(AnimationSnapshot snapshot, const QString& modelPath, ExportSettings& settings,
                    BrowseForPath browseForPath, QWidget* parent = nullptr);

  private:
    void addKindNotes(QVBoxLayout* kinds) override;
    void addProperties(QVBoxLayout* properties) override;
    void loadFormSettings() override;
    bool transparentChosen() const override;
    void onOutputChanged() override;
    std::vector<QWidget*> formControls() const override;

    QCheckBox* transparentBox_ = nullptr;
};

}  // namespace rek
