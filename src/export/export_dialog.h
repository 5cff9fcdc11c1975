#pragma once

// What the two export dialogs share: output path, kind of animation, wait and smoothness of a
// replay, target size with the keep-ratio rule, anti-aliasing, the live frame estimate, the
// status line and progress bar; Create checks the fields and runs the export on a worker
// thread while the dialog stays responsive but locked, its Cancel button turned into Stop; it
// then reports the result and closes, or after a stop says so and stays open. The animation
// and numbered forms (gif_export_dialog.h, bmp_export_dialog.h) add their own controls and
// pick the format from the name entered.
//
// A dialog knows nothing of the editor: it gets a snapshot of the drawing, the model's file
// path and the remembered choices, and tells the shell through its hook when an export ended.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "export/export_dialog_rules.h"
#include "export/export_engine.h"
#include "export/export_job.h"
#include "export/export_settings.h"
#include "render/animation_snapshot.h"
#include "shell/text/user_message.h"

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QVBoxLayout;

namespace rek {

class ExportRunner;

// A file type of the save chooser: "GIFファイル(*.gif)", with the patterns in parentheses.
struct ChooserFilter {
    QString name;
    ExportTarget target = ExportTarget::Gif;
};

// What the browse button asks the shell's save-file chooser for.
struct SaveChooserRequest {
    QString title;  // "アニメーションGIFファイルの保存" / "連番BMPファイルの保存"
    QString currentPath;  // the path edit's text, as the chooser's starting file name
    std::vector<ChooserFilter> filters;  // the first is selected at first
};
// The chooser's answer: the path, and the index of the file type selected.
struct ChosenFile {
    QString path;
    std::size_t filter = 0;
};
// Shows the chooser owned by `owner`; the chosen file, or nothing when it was cancelled.
using BrowseForPath =
    std::function<std::optional<ChosenFile>(QWidget* owner, const SaveChooserRequest& request)>;

// The message boxes of the dialogs: the program's message box, OK (or Yes and No).
// Replaceable so that tests can answer them.
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
    ~ExportDialog() override;

    // Replaces the message boxes (not owned; must outlive the dialog).
    void setMessages(ExportMessages* messages);
    // Called right after an export that was not stopped, before the result is reported: the
    // shell brings its main window to the front.
    void setAfterExport(std::function<void()> afterExport);
    // What runs the exports (runExport unless replaced), on the worker thread.
    void setEngine(ExportEngine engine);

    bool isExporting() const { return exporting_; }

    // Cancel, Escape and the close box: remembers the choices and closes; while an export runs,
    // asks it to stop instead (the dialog then stays open).
    void reject() override;

  protected:
    // What differs between the forms besides their own controls.
    struct Form {
        QString title;
        QString pathLabel;
        QString estimateLabel;  // before the frame estimate
        QString estimateUnit;   // after it
        QString propertiesTitle;
        QString extension;           // of the default path: ".gif" / ".bmp"
        SaveChooserRequest chooser;  // without the current path
        // The format and path an entered name asks for.
        OutputChoice (*output)(const QString& entered) = nullptr;
    };

    // `settings` is read when the dialog opens and written when it closes (Create or Cancel).
    // `modelPath` is the model's file, empty for an unnamed model.
    ExportDialog(Form form, AnimationSnapshot snapshot, const QString& modelPath,
                 ExportSettings& settings, BrowseForPath browseForPath, QWidget* parent);

    // Builds the controls and loads the remembered choices. Called at the end of the form's
    // constructor, so that the hooks below reach the form.
    void setUp();

    // Where a form adds its controls while they are built.
    virtual void addKindChoices(QVBoxLayout* kinds, QButtonGroup* group);  // before wobble, VTR
    virtual void addEstimates(QHBoxLayout* row);                           // after the frames
    virtual void addKindNotes(QVBoxLayout* kinds);                         // below the estimates
    virtual void addProperties(QVBoxLayout* properties);  // below the anti-aliasing choice
    // Its part of the remembered choices, after the shared ones are shown.
    virtual void loadFormSettings();
    // Checks the button of a remembered kind: wobble, or VTR for the others.
    virtual void selectKind(ExportKind kind);
    virtual ExportKind checkedKind() const;
    virtual bool transparentChosen() const;
    // Shows the estimate for `frames` (nothing: a field that is not a number).
    virtual void showEstimate(std::optional<std::uint64_t> frames);
    // Its controls, locked with the shared ones while an export runs.
    virtual std::vector<QWidget*> formControls() const;
    // The entered name changed (the format may have), or the anti-aliasing choice did.
    virtual void onOutputChanged();

    void updateEstimate();
    void onKindChanged();
    void setFrameEstimate(std::optional<std::uint64_t> frames);
    // What an estimate shows for a field that is not a number.
    static QString invalidEstimate();
    // A sunken, centred label for a figure, named for tests.
    static QLabel* figureLabel(const char* name);

    const AnimationSnapshot& snapshot() const { return snapshot_; }
    const ExportSettings& settings() const { return settings_; }
    QLineEdit* widthEdit() const { return widthEdit_; }
    QLineEdit* heightEdit() const { return heightEdit_; }
    QRadioButton* antiAliasOnButton() const { return antiAliasOnButton_; }
    // The format the entered name asks for.
    ExportTarget enteredTarget() const;

  private:
    void buildControls();
    void loadSettings();
    void onWidthEdited(const QString& text);
    void onHeightEdited(const QString& text);
    void browse();
    void create();
    void onExportFinished();
    void onStopped();
    int sliderDelay() const;
    std::int32_t waitOrDefault() const;
    void setControlsEnabled(bool enabled);
    void refuse(ExportErrorCode code);
    void showMessage(const UserMessage& message, QWidget* owner = nullptr);

    Form form_;
    AnimationSnapshot snapshot_;
    QString modelPath_;
    ExportSettings& settings_;
    BrowseForPath browseForPath_;
    std::function<void()> afterExport_;
    ExportMessages defaultMessages_;
    ExportMessages* messages_ = &defaultMessages_;
    double totalLength_ = 0.0;
    bool exporting_ = false;
    ExportRequest running_;  // the request of the export that runs
    ExportTarget runningTarget_ = ExportTarget::Gif;
    ExportRunner* runner_ = nullptr;

    QLineEdit* pathEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QRadioButton* wobbleButton_ = nullptr;
    QRadioButton* vtrButton_ = nullptr;
    QLineEdit* waitEdit_ = nullptr;
    QSlider* smoothnessSlider_ = nullptr;
    QLabel* frameEstimate_ = nullptr;
    QLabel* canvasWidthLabel_ = nullptr;
    QLabel* canvasHeightLabel_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QPushButton* originalSizeButton_ = nullptr;
    QRadioButton* antiAliasOnButton_ = nullptr;
    QRadioButton* antiAliasOffButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace rek
