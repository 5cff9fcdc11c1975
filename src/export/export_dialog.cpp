#include "export/export_dialog.h"

#include <QButtonGroup>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>
#include <variant>

#include "export/export_dialog_rules.h"
#include "export/export_limits.h"
#include "export/export_plan.h"
#include "export/export_runner.h"
#include "export/output_files.h"
#include "render/geometry_ops.h"
#include "shell/text/export_messages.h"
#include "shell/text/number_field.h"
#include "shell/ui/dialog_style.h"
#include "shell/ui/message_box.h"

namespace rek {

namespace {

QLineEdit* centredEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

int progressValue(std::uint64_t value) {
    return static_cast<int>(std::min<std::uint64_t>(
        value, static_cast<std::uint64_t>(std::numeric_limits<int>::max())));
}

}  // namespace

void ExportMessages::inform(QWidget* owner, const QString& text, MessageIcon icon) {
    showMessageBox(owner, text, MessageButtons::Ok, icon);
}

bool ExportMessages::confirmOverwrite(QWidget* owner, const QString& text) {
    return showMessageBox(owner, text, MessageButtons::YesNo, MessageIcon::None,
                          MessageAnswer::No) == MessageAnswer::Yes;
}

ExportDialog::ExportDialog(Form form, AnimationSnapshot snapshot, const QString& modelPath,
                           ExportSettings& settings, BrowseForPath browseForPath, QWidget* parent)
    : QDialog(parent),
      form_(std::move(form)),
      snapshot_(std::move(snapshot)),
      modelPath_(modelPath),
      settings_(settings),
      browseForPath_(std::move(browseForPath)),
      totalLength_(totalLineLength(snapshot_.vertices)),
      runner_(new ExportRunner(this)) {
    setModal(true);
    setFont(dialogFont());
    setWindowTitle(form_.title);
    connect(runner_, &ExportRunner::stageChanged, this,
            [this](ExportStage stage) { statusLabel_->setText(messages::exportStage(stage)); });
    connect(runner_, &ExportRunner::frameCountKnown, this, [this](quint64 frames) {
        progressBar_->setRange(0, std::max(progressValue(frames), 1));
        progressBar_->setValue(0);
    });
    connect(runner_, &ExportRunner::frameDone, this,
            [this](quint64 done) { progressBar_->setValue(progressValue(done)); });
    connect(runner_, &ExportRunner::finished, this, &ExportDialog::onExportFinished);
}

ExportDialog::~ExportDialog() {
    // Ends a running export while the dialog is whole; nothing it reported is shown any more.
    delete runner_;
}

void ExportDialog::setUp() {
    buildControls();
    loadSettings();
    const DialogUnits units(font());
    resize(QSize(units.x(235), units.y(305)).expandedTo(minimumSizeHint()));
}

void ExportDialog::setMessages(ExportMessages* messages) {
    messages_ = messages != nullptr ? messages : &defaultMessages_;
}

void ExportDialog::setAfterExport(std::function<void()> afterExport) {
    afterExport_ = std::move(afterExport);
}

void ExportDialog::setEngine(ExportEngine engine) {
    runner_->setEngine(std::move(engine));
}

ExportTarget ExportDialog::enteredTarget() const {
    return form_.output(pathEdit_->text()).target;
}

void ExportDialog::onOutputChanged() {}

QString ExportDialog::invalidEstimate() {
    return QStringLiteral("***");
}

QLabel* ExportDialog::figureLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

void ExportDialog::buildControls() {
    const DialogUnits units(font());
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(form_.pathLabel));
    auto* pathRow = new QHBoxLayout;
    pathEdit_ = new QLineEdit;
    pathEdit_->setObjectName(QStringLiteral("pathEdit"));
    pathEdit_->setMaxLength(255);
    browseButton_ = new QPushButton(tr("参照"));
    browseButton_->setObjectName(QStringLiteral("browseButton"));
    browseButton_->setAutoDefault(false);
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browseButton_);
    layout->addLayout(pathRow);

    // Kind of animation.
    auto* kindBox = new QGroupBox(tr("アニメーションの種類"));
    auto* kindLayout = new QVBoxLayout(kindBox);
    auto* kindGroup = new QButtonGroup(this);
    addKindChoices(kindLayout, kindGroup);
    wobbleButton_ = new QRadioButton(tr("揺れアニメーション"));
    wobbleButton_->setObjectName(QStringLiteral("wobbleButton"));
    vtrButton_ = new QRadioButton(tr("VTRアニメーション"));
    vtrButton_->setObjectName(QStringLiteral("vtrButton"));
    kindGroup->addButton(wobbleButton_);
    kindGroup->addButton(vtrButton_);
    kindLayout->addWidget(wobbleButton_);
    kindLayout->addWidget(vtrButton_);

    auto* waitRow = new QHBoxLayout;
    waitEdit_ = centredEdit("waitEdit");
    waitEdit_->setMaximumWidth(units.x(40));
    waitRow->addWidget(new QLabel(tr("VTR終了後の待ち時間")));
    waitRow->addWidget(waitEdit_);
    waitRow->addWidget(new QLabel(tr("秒")));
    waitRow->addStretch(1);
    kindLayout->addLayout(waitRow);

    auto* smoothRow = new QHBoxLayout;
    smoothnessSlider_ = new QSlider(Qt::Horizontal);
    smoothnessSlider_->setObjectName(QStringLiteral("smoothnessSlider"));
    smoothnessSlider_->setTickPosition(QSlider::NoTicks);
    smoothRow->addWidget(new QLabel(tr("VTRのなめらかさ")));
    smoothRow->addWidget(smoothnessSlider_, 1);
    kindLayout->addLayout(smoothRow);

    auto* estimateRow = new QHBoxLayout;
    frameEstimate_ = figureLabel("frameEstimate");
    frameEstimate_->setMinimumWidth(units.x(40));
    estimateRow->addWidget(new QLabel(form_.estimateLabel));
    estimateRow->addWidget(frameEstimate_);
    estimateRow->addWidget(new QLabel(form_.estimateUnit));
    addEstimates(estimateRow);
    estimateRow->addStretch(1);
    kindLayout->addLayout(estimateRow);
    addKindNotes(kindLayout);
    layout->addWidget(kindBox);

    // Size and quality.
    auto* propertiesBox = new QGroupBox(form_.propertiesTitle);
    auto* propertiesLayout = new QVBoxLayout(propertiesBox);
    auto* sizeGrid = new QGridLayout;
    canvasWidthLabel_ = figureLabel("canvasWidthLabel");
    canvasHeightLabel_ = figureLabel("canvasHeightLabel");
    widthEdit_ = centredEdit("widthEdit");
    heightEdit_ = centredEdit("heightEdit");
    const int sizeFieldWidth = units.x(36);
    for (QWidget* field :
         {static_cast<QWidget*>(canvasWidthLabel_), static_cast<QWidget*>(canvasHeightLabel_),
          static_cast<QWidget*>(widthEdit_), static_cast<QWidget*>(heightEdit_)})
        field->setFixedWidth(sizeFieldWidth);
    const char* const headers[] = {QT_TR_NOOP("幅"), "", QT_TR_NOOP("高さ"), "",
                                   QT_TR_NOOP("幅"), "", QT_TR_NOOP("高さ")};
    for (int column = 0; column < 7; ++column) {
        if (headers[column][0] != '\0') {
            auto* header = new QLabel(tr(headers[column]));
            header->setAlignment(Qt::AlignCenter);
            sizeGrid->addWidget(header, 0, column);
        }
    }
    sizeGrid->addWidget(canvasWidthLabel_, 1, 0);
    sizeGrid->addWidget(new QLabel(QStringLiteral("×")), 1, 1);
    sizeGrid->addWidget(canvasHeightLabel_, 1, 2);
    sizeGrid->addWidget(new QLabel(QStringLiteral("→")), 1, 3);
    sizeGrid->addWidget(widthEdit_, 1, 4);
    sizeGrid->addWidget(new QLabel(QStringLiteral("×")), 1, 5);
    sizeGrid->addWidget(heightEdit_, 1, 6);
    sizeGrid->setColumnStretch(7, 1);
    propertiesLayout->addLayout(sizeGrid);
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(new QLabel(tr("幅と高さの比率を保持してサイズ変更")), 1);
    originalSizeButton_ = new QPushButton(tr("元の大きさに戻す"));
    originalSizeButton_->setObjectName(QStringLiteral("originalSizeButton"));
    originalSizeButton_->setAutoDefault(false);
    ratioRow->addWidget(originalSizeButton_);
    propertiesLayout->addLayout(ratioRow);

    auto* antiAliasGroup = new QButtonGroup(this);
    antiAliasOnButton_ = new QRadioButton(tr("アンチエリアシングあり（サイズ変更時）"));
    antiAliasOnButton_->setObjectName(QStringLiteral("antiAliasOnButton"));
    antiAliasOffButton_ = new QRadioButton(tr("アンチエリアシングなし"));
    antiAliasOffButton_->setObjectName(QStringLiteral("antiAliasOffButton"));
    antiAliasGroup->addButton(antiAliasOnButton_);
    antiAliasGroup->addButton(antiAliasOffButton_);
    propertiesLayout->addWidget(antiAliasOnButton_);
    propertiesLayout->addWidget(antiAliasOffButton_);
    addProperties(propertiesLayout);
    layout->addWidget(propertiesBox);

    statusLabel_ = figureLabel("statusLabel");
    layout->addWidget(statusLabel_);
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setTextVisible(false);
    layout->addWidget(progressBar_);

    auto* buttonRow = new QHBoxLayout;
    createButton_ = new QPushButton(tr("作成"));
    createButton_->setObjectName(QStringLiteral("createButton"));
    createButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("キャンセル"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    buttonRow->addStretch(1);
    buttonRow->addWidget(createButton_);
    buttonRow->addWidget(cancelButton_);
    layout->addLayout(buttonRow);

    connect(browseButton_, &QPushButton::clicked, this, &ExportDialog::browse);
    for (QRadioButton* button : {wobbleButton_, vtrButton_})
        connect(button, &QRadioButton::toggled, this, &ExportDialog::onKindChanged);
    connect(waitEdit_, &QLineEdit::textChanged, this, &ExportDialog::updateEstimate);
    connect(smoothnessSlider_, &QSlider::valueChanged, this, &ExportDialog::updateEstimate);
    // The keep-ratio rule follows typing only, so setting the other edit cannot echo back.
    connect(widthEdit_, &QLineEdit::textEdited, this, &ExportDialog::onWidthEdited);
    connect(heightEdit_, &QLineEdit::textEdited, this, &ExportDialog::onHeightEdited);
    connect(originalSizeButton_, &QPushButton::clicked, this, [this] {
        widthEdit_->setText(QString::number(snapshot_.properties.width));
        heightEdit_->setText(QString::number(snapshot_.properties.height));
    });
    connect(createButton_, &QPushButton::clicked, this, &ExportDialog::create);
    connect(cancelButton_, &QPushButton::clicked, this, &ExportDialog::reject);
    connect(pathEdit_, &QLineEdit::textChanged, this, [this] { onOutputChanged(); });
    connect(antiAliasOnButton_, &QRadioButton::toggled, this, [this] { onOutputChanged(); });
}

void ExportDialog::addKindChoices(QVBoxLayout*, QButtonGroup*) {}

void ExportDialog::addEstimates(QHBoxLayout*) {}

void ExportDialog::addKindNotes(QVBoxLayout*) {}

void ExportDialog::addProperties(QVBoxLayout*) {}

void ExportDialog::loadFormSettings() {}

void ExportDialog::selectKind(ExportKind kind) {
    (kind == ExportKind::Wobble ? wobbleButton_ : vtrButton_)->setChecked(true);
}

ExportKind ExportDialog::checkedKind() const {
    return wobbleButton_->isChecked() ? ExportKind::Wobble : ExportKind::Vtr;
}

bool ExportDialog::transparentChosen() const {
    return false;
}

std::vector<QWidget*> ExportDialog::formControls() const {
    return {};
}

void ExportDialog::loadSettings() {
    selectKind(settings_.kind);
    waitEdit_->setEnabled(vtrButton_->isChecked());
    waitEdit_->setText(QString::number(static_cast<std::uint32_t>(settings_.waitSeconds)));

    const ModelProperties& canvas = snapshot_.properties;
    pathEdit_->setText(defaultExportPath(modelPath_, form_.extension));
    widthEdit_->setText(QString::number(canvas.width));
    canvasWidthLabel_->setText(QString::number(canvas.width));
    heightEdit_->setText(QString::number(canvas.height));
    canvasHeightLabel_->setText(QString::number(canvas.height));

    statusLabel_->setText(messages::exportReady());
    smoothnessSlider_->setRange(kMinSmoothness, kMaxSmoothness);
    smoothnessSlider_->setValue(std::clamp(settings_.smoothness, kMinSmoothness, kMaxSmoothness));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);

    if (settings_.antiAlias)
        antiAliasOnButton_->setChecked(true);
    else
        antiAliasOffButton_->setChecked(true);
    loadFormSettings();
    pathEdit_->setFocus();
    updateEstimate();
}

int ExportDialog::sliderDelay() const {
    return frameDelayForSmoothness(smoothnessSlider_->value());
}

std::int32_t ExportDialog::waitOrDefault() const {
    return parseUnsignedField(waitEdit_->text()).value_or(5);
}

void ExportDialog::updateEstimate() {
    const ExportKind kind = checkedKind();
    const std::int32_t vtrSpeed = snapshot_.properties.vtrSpeed;
    std::optional<std::uint64_t> frames;
    if (kind != ExportKind::Vtr) {
        frames = exportFrameCount(kind, totalLength_, vtrSpeed, 0, kWobbleFrameDelay);
    } else if (const auto wait = parseUnsignedField(waitEdit_->text())) {
        frames = exportFrameCount(kind, totalLength_, vtrSpeed, *wait, sliderDelay());
    }
    showEstimate(frames);
}

void ExportDialog::showEstimate(std::optional<std::uint64_t> frames) {
    setFrameEstimate(frames);
}

void ExportDialog::setFrameEstimate(std::optional<std::uint64_t> frames) {
    frameEstimate_->setText(frames ? QString::number(*frames) : invalidEstimate());
}

void ExportDialog::onWidthEdited(const QString& text) {
    if (const auto value = parseUnsignedField(text)) {
        const ModelProperties& canvas = snapshot_.properties;
        heightEdit_->setText(QString::number(keepRatio(*value, canvas.width, canvas.height)));
    }
}

void ExportDialog::onHeightEdited(const QString& text) {
    if (const auto value = parseUnsignedField(text)) {
        const ModelProperties& canvas = snapshot_.properties;
        widthEdit_->setText(QString::number(keepRatio(*value, canvas.height, canvas.width)));
    }
}

void ExportDialog::onKindChanged() {
    waitEdit_->setEnabled(vtrButton_->isChecked() && !exporting_);
    updateEstimate();
}

void ExportDialog::browse() {
    if (!browseForPath_)
        return;
    SaveChooserRequest request = form_.chooser;
    request.currentPath = pathEdit_->text();
    if (const std::optional<ChosenFile> chosen = browseForPath_(this, request)) {
        const ExportTarget type = chosen->filter < request.filters.size()
                                      ? request.filters[chosen->filter].target
                                      : request.filters.front().target;
        pathEdit_->setText(withChosenExtension(chosen->path, type, form_.output));
    }
}

void ExportDialog::showMessage(const UserMessage& message, QWidget* owner) {
    messages_->inform(owner != nullptr ? owner : this, message.text, message.icon);
}

void ExportDialog::refuse(ExportErrorCode code) {
    showMessage(messages::exportError(ExportError(code)));
}

void ExportDialog::setControlsEnabled(bool enabled) {
    std::vector<QWidget*> controls = {
        pathEdit_,           browseButton_, smoothnessSlider_,  widthEdit_,    heightEdit_,
        wobbleButton_,       vtrButton_,    createButton_,      cancelButton_, antiAliasOnButton_,
        antiAliasOffButton_, waitEdit_,     originalSizeButton_};
    for (QWidget* control : formControls())
        controls.push_back(control);
    for (QWidget* control : controls)
        control->setEnabled(enabled);
    // While an export runs, Cancel stops it and is the one control left.
    cancelButton_->setEnabled(true);
    cancelButton_->setText(enabled ? tr("キャンセル") : messages::exportStopButton());
    if (enabled) {
        waitEdit_->setEnabled(vtrButton_->isChecked());
        onOutputChanged();
    }
}

void ExportDialog::create() {
    if (exporting_)
        return;
    const QString entered = pathEdit_->text();
    if (entered.isEmpty()) {
        refuse(ExportErrorCode::NoPath);
        return;
    }

    // The fields become a request; what they say is checked by validateExport alone, except
    // text that is no number at all.
    ExportRequest request;
    const OutputChoice output = form_.output(entered);
    // The name as the file system takes it.
    request.path = QFile::encodeName(output.path).toStdString();
    request.kind = checkedKind();
    if (request.kind == ExportKind::Vtr) {
        const auto wait = parseUnsignedField(waitEdit_->text());
        if (!wait) {
            refuse(ExportErrorCode::WaitInvalid);
            return;
        }
        request.waitSeconds = *wait;
        request.delay = sliderDelay();
    } else {
        // Not used by these kinds; only remembered.
        request.waitSeconds = waitOrDefault();
        request.delay = request.kind == ExportKind::Wobble ? kWobbleFrameDelay : sliderDelay();
    }
    const auto width = parseUnsignedField(widthEdit_->text());
    if (!width || *width == 0) {
        refuse(ExportErrorCode::WidthInvalid);
        return;
    }
    const auto height = parseUnsignedField(heightEdit_->text());
    if (!height || *height == 0) {
        refuse(ExportErrorCode::HeightInvalid);
        return;
    }
    request.width = *width;
    request.height = *height;
    request.antiAlias = antiAliasOnButton_->isChecked();
    request.transparent = transparentChosen();

    ExportValidation checked =
        validateExport(output.target, request, snapshot_, availableMemoryBytes());
    if (const ExportError* refused = std::get_if<ExportError>(&checked)) {
        showMessage(messages::exportError(*refused));
        return;
    }

    // Asked about the file that will really be written first.
    const QString first =
        QFile::decodeName(QByteArray::fromStdString(firstOutputFile(output.target, request)));
    if (QFile probe(first); probe.open(QIODevice::ReadOnly)) {
        probe.close();
        if (!messages_->confirmOverwrite(this, messages::exportOverwrite(first)))
            return;
    }

    exporting_ = true;
    running_ = request;
    runningTarget_ = output.target;
    setControlsEnabled(false);
    cancelButton_->setFocus();
    runner_->start(std::get<ExportPlan>(std::move(checked)));
}

void ExportDialog::onExportFinished() {
    const ExportOutcome& outcome = runner_->outcome();
    if (outcome.error && outcome.error->code == ExportErrorCode::Cancelled) {
        onStopped();
        return;
    }
    if (afterExport_)
        afterExport_();

    if (outcome.error) {
        const UserMessage failure = messages::exportError(*outcome.error);
        if (!failure.empty()) {
            // Failures with the error icon belong to the main window, like every failure of
            // the program.
            QWidget* owner = failure.icon == MessageIcon::Error && parentWidget() != nullptr
                                 ? parentWidget()
                                 : this;
            showMessage(failure, owner);
        }
    }
    showMessage({messages::exportFinished(runningTarget_, outcome.ok())});

    rememberExportSettings(settings_, running_.kind, running_.antiAlias, running_.transparent,
                           static_cast<std::int32_t>(running_.waitSeconds), running_.delay);
    exporting_ = false;
    QDialog::accept();
}

void ExportDialog::onStopped() {
    // Nothing was written; the dialog stays for another try.
    exporting_ = false;
    statusLabel_->setText(messages::exportStopped());
    progressBar_->setValue(0);
    setControlsEnabled(true);
    createButton_->setFocus();
}

void ExportDialog::reject() {
    // Cancel, Escape and the close box stop a running export; the dialog stays open.
    if (exporting_) {
        runner_->requestStop();
        return;
    }
    rememberExportSettings(settings_, checkedKind(), antiAliasOnButton_->isChecked(),
                           transparentChosen(), waitOrDefault(), sliderDelay());
    QDialog::reject();
}

}  // namespace rek
