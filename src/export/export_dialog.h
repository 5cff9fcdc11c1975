#pragma once

// The two export dialogs: output path, kind of animation, wait and smoothness of a replay,
// target size with the keep-ratio rule, anti-aliasing (and for GIF a transparent
// background), live estimates; Create validates, runs the export with the dialog's own
// status line and progress bar, reports the result and closes.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "export/export_job.h"
#include "export/export_settings.h"
#include "model/user_message.h"
#include "render/editor_state.h"
#include "render/frame_renderer.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QSlider;

namespace rek {

// What the browse button asks the shell's save-file chooser for.
struct SaveChooserRequest {
    QString title;  // "アニメーションGIFファイルの保存" / "連番BMPファイルの保存"
    QString currentPath;  // the path edit's text, as the chooser's starting file name
    QString filterName;   // "GIFファイル(*.gif)" / "BMPファイル(*.bmp)"
    QString pattern;      // "*.gif" / "*.bmp"
};
// Shows the chooser owned by `owner`; the chosen path, or nothing when it was cancelled.
using BrowseForPath =
    std::function<std::optional<QString>(QWidget* owner, const SaveChooserRequest& request)>;

// The message boxes of the dialogs: caption kAppTitle, OK (or Yes and No). Replaceable so
// that tests can answer them.
class ExportMessages {
  public:
    virtual ~ExportMessages() = default;
    virtual void inform(QWidget* owner, const QString& text, MessageIcon icon);
    // Yes and No, No the default. True for Yes.
    virtual bool confirmOverwrite(QWidget* owner, const QString& text);
};

class ExportDialog : public QDialog {
    Q_OBJECT

  public:
    // `settings` is read when the dialog opens and written when it closes (Create or Cancel).
    ExportDialog(ExportTarget target, EditorState& state, FrameRenderer& renderer,
                 ExportSettings& settings, BrowseForPath browseForPath, QWidget* parent);
    ~ExportDialog() override;

    // Replaces the message boxes (not owned; must outlive the dialog).
    void setMessages(ExportMessages* messages);
    // Called right after an export, before the result is reported: the shell brings its
    // main window to the front.
    void setAfterExport(std::function<void()> afterExport);

    // Cancel, Escape and the close box: remembers the choices and closes (not while an
    // export runs).
    void reject() override;

  private:
    void buildControls();
    void loadSettings();
    void updateEstimate();
    void onWidthEdited(const QString& text);
    void onHeightEdited(const QString& text);
    void onKindChanged();
    void onAntiAliasChanged();
    void browse();
    void create();
    ExportKind checkedKind() const;
    int sliderDelay() const;
    std::int32_t waitOrDefault() const;
    void setControlsEnabled(bool enabled);
    void showMessage(const QString& text, MessageIcon icon = MessageIcon::None,
                     QWidget* owner = nullptr);

    class ProgressObserver;

    ExportTarget target_;
    EditorState& state_;
    FrameRenderer& renderer_;
    ExportSettings& settings_;
    BrowseForPath browseForPath_;
    std::function<void()> afterExport_;
    ExportMessages defaultMessages_;
    ExportMessages* messages_ = &defaultMessages_;
    double totalLength_ = 0.0;
    bool exporting_ = false;

    QLineEdit* pathEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QRadioButton* stillButton_ = nullptr;  // BMP only
    QRadioButton* wobbleButton_ = nullptr;
    QRadioButton* vtrButton_ = nullptr;
    QLineEdit* waitEdit_ = nullptr;
    QSlider* smoothnessSlider_ = nullptr;
    QLabel* frameEstimate_ = nullptr;
    QLabel* sizeEstimate_ = nullptr;  // BMP only
    QLabel* canvasWidthLabel_ = nullptr;
    QLabel* canvasHeightLabel_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QPushButton* originalSizeButton_ = nullptr;
    QRadioButton* antiAliasOnButton_ = nullptr;
    QRadioButton* antiAliasOffButton_ = nullptr;
    QCheckBox* transparentBox_ = nullptr;  // GIF only
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// "アニメーションGIFファイル作成"
class GifExportDialog : public ExportDialog {
    Q_OBJECT
  public:
    GifExportDialog(EditorState& state, FrameRenderer& renderer, ExportSettings& settings,
                    BrowseForPath browseForPath, QWidget* parent = nullptr);
};

// "連番BMPファイルの作成"
class BmpExportDialog : public ExportDialog {
    Q_OBJECT
  public:
    BmpExportDialog(EditorState& state, FrameRenderer& renderer, ExportSettings& settings,
                    BrowseForPath browseForPath, QWidget* parent = nullptr);
};

}  // namespace rek
