#include "export/export_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "export/bmp_export.h"
#include "export/dialog_style.h"
#include "export/export_dialog_rules.h"
#include "export/export_limits.h"
#include "export/gif_export.h"
#include "model/app_info.h"
#include "render/geometry_ops.h"

namespace rek {

namespace {

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

QLabel* sunkenLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QLineEdit* centredEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

}  // namespace

void ExportMessages::inform(QWidget* owner, const QString& text, MessageIcon icon) {
    showDialogMessage(owner, text, icon);
}

bool ExportMessages::confirmOverwrite(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, qs(kAppTitle), text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Shows the export's progress in the dialog and keeps the window alive between frames.
class ExportDialog::ProgressObserver : public ExportObserver {
  public:
    explicit ProgressObserver(ExportDialog& dialog) : dialog_(dialog) {}
    void setStatus(const std::string& text) override {
        dialog_.statusLabel_->setText(QString::fromStdString(text));
    }
    void setProgressRange(int maximum) override {
        dialog_.progressBar_->setRange(0, std::max(maximum, 1));
        dialog_.progressBar_->setValue(0);
    }
    void stepProgress() override {
        dialog_.progressBar_->setValue(dialog_.progressBar_->value() + 1);
    }
    void pumpEvents() override { QCoreApplication::processEvents(); }

  private:
    ExportDialog& dialog_;
};

ExportDialog::ExportDialog(ExportTarget target, EditorState& state, FrameRenderer& renderer,
                           ExportSettings& settings, BrowseForPath browseForPath, QWidget* parent)
    : QDialog(parent),
      target_(target),
      state_(state),
      renderer_(renderer),
      settings_(settings),
      browseForPath_(std::move(browseForPath)),
      totalLength_(totalLineLength(state.model.vertices)) {
    setModal(true);
    setFont(dialogFont());
    setWindowTitle(target_ == ExportTarget::Gif ? qs("アニメーションGIFファイル作成")
                                                : qs("連番BMPファイルの作成"));
    buildControls();
    loadSettings();
    const DialogUnits units(font());
    resize(QSize(units.x(235), units.y(305)).expandedTo(minimumSizeHint()));
}

ExportDialog::~ExportDialog() = default;

void ExportDialog::setMessages(ExportMessages* messages) {
    messages_ = messages != nullptr ? messages : &defaultMessages_;
}

void ExportDialog::setAfterExport(std::function<void()> afterExport) {
    afterExport_ = std::move(afterExport);
}

void ExportDialog::buildControls() {
    const bool gif = target_ == ExportTarget::Gif;
    const DialogUnits units(font());
    auto* layout = new QVBoxLayout(this);

    layout->addWidget(new QLabel(gif ? qs("GIFファイル保存先：") : qs("連番BMPファイル保存先：")));
    auto* pathRow = new QHBoxLayout;
    pathEdit_ = new QLineEdit;
    pathEdit_->setObjectName(QStringLiteral("pathEdit"));
    pathEdit_->setMaxLength(255);
    browseButton_ = new QPushButton(qs("参照"));
    browseButton_->setObjectName(QStringLiteral("browseButton"));
    browseButton_->setAutoDefault(false);
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browseButton_);
    layout->addLayout(pathRow);

    // Kind of animation.
    auto* kindBox = new QGroupBox(qs("アニメーションの種類"));
    auto* kindLayout = new QVBoxLayout(kindBox);
    auto* kindGroup = new QButtonGroup(this);
    if (!gif) {
        stillButton_ = new QRadioButton(qs("静止画"));
        stillButton_->setObjectName(QStringLiteral("stillButton"));
        kindGroup->addButton(stillButton_);
        kindLayout->addWidget(stillButton_);
    }
    wobbleButton_ = new QRadioButton(qs("揺れアニメーション"));
    wobbleButton_->setObjectName(QStringLiteral("wobbleButton"));
    vtrButton_ = new QRadioButton(qs("VTRアニメーション"));
    vtrButton_->setObjectName(QStringLiteral("vtrButton"));
    kindGroup->addButton(wobbleButton_);
    kindGroup->addButton(vtrButton_);
    kindLayout->addWidget(wobbleButton_);
    kindLayout->addWidget(vtrButton_);

    auto* waitRow = new QHBoxLayout;
    waitEdit_ = centredEdit("waitEdit");
    waitEdit_->setMaximumWidth(units.x(40));
    waitRow->addWidget(new QLabel(qs("VTR終了後の待ち時間")));
    waitRow->addWidget(waitEdit_);
    waitRow->addWidget(new QLabel(qs("秒")));
    waitRow->addStretch(1);
    kindLayout->addLayout(waitRow);

    auto* smoothRow = new QHBoxLayout;
    smoothnessSlider_ = new QSlider(Qt::Horizontal);
    smoothnessSlider_->setObjectName(QStringLiteral("smoothnessSlider"));
    smoothnessSlider_->setTickPosition(QSlider::NoTicks);
    smoothRow->addWidget(new QLabel(qs("VTRのなめらかさ")));
    smoothRow->addWidget(smoothnessSlider_, 1);
    kindLayout->addLayout(smoothRow);

    auto* estimateRow = new QHBoxLayout;
    frameEstimate_ = sunkenLabel("frameEstimate");
    frameEstimate_->setMinimumWidth(units.x(40));
    estimateRow->addWidget(
        new QLabel(gif ? qs("現在のアニメーション数") : qs("作成されるBMPファイル")));
    estimateRow->addWidget(frameEstimate_);
    estimateRow->addWidget(new QLabel(gif ? qs("コマ") : qs("枚")));
    if (!gif) {
        sizeEstimate_ = sunkenLabel("sizeEstimate");
        sizeEstimate_->setMinimumWidth(units.x(44));
        estimateRow->addWidget(new QLabel(qs("合計")));
        estimateRow->addWidget(sizeEstimate_);
        estimateRow->addWidget(new QLabel(QStringLiteral("MB")));
    }
    estimateRow->addStretch(1);
    kindLayout->addLayout(estimateRow);
    if (gif) {
        auto* hint =
            new QLabel(qs("アニメーションのコマ数が増えるほど、ファイルサイズが大きくなります"));
        hint->setWordWrap(true);
        kindLayout->addWidget(hint);
    }
    layout->addWidget(kindBox);

    // Size and quality.
    auto* propertiesBox =
        new QGroupBox(gif ? qs("GIFファイルのプロパティ") : qs("連番BMPファイルのプロパティ"));
    auto* propertiesLayout = new QVBoxLayout(propertiesBox);
    auto* sizeGrid = new QGridLayout;
    canvasWidthLabel_ = sunkenLabel("canvasWidthLabel");
    canvasHeightLabel_ = sunkenLabel("canvasHeightLabel");
    widthEdit_ = centredEdit("widthEdit");
    heightEdit_ = centredEdit("heightEdit");
    const int sizeFieldWidth = units.x(36);
    for (QWidget* field :
         {static_cast<QWidget*>(canvasWidthLabel_), static_cast<QWidget*>(canvasHeightLabel_),
          static_cast<QWidget*>(widthEdit_), static_cast<QWidget*>(heightEdit_)})
        field->setFixedWidth(sizeFieldWidth);
    const char* headers[] = {"幅", "", "高さ", "", "幅", "", "高さ"};
    for (int column = 0; column < 7; ++column) {
        if (headers[column][0] != '\0') {
            auto* header = new QLabel(qs(headers[column]));
            header->setAlignment(Qt::AlignCenter);
            sizeGrid->addWidget(header, 0, column);
        }
    }
    sizeGrid->addWidget(canvasWidthLabel_, 1, 0);
    sizeGrid->addWidget(new QLabel(qs("×")), 1, 1);
    sizeGrid->addWidget(canvasHeightLabel_, 1, 2);
    sizeGrid->addWidget(new QLabel(qs("→")), 1, 3);
    sizeGrid->addWidget(widthEdit_, 1, 4);
    sizeGrid->addWidget(new QLabel(qs("×")), 1, 5);
    sizeGrid->addWidget(heightEdit_, 1, 6);
    sizeGrid->setColumnStretch(7, 1);
    propertiesLayout->addLayout(sizeGrid);
    auto* ratioRow = new QHBoxLayout;
    ratioRow->addWidget(new QLabel(qs("幅と高さの比率を保持してサイズ変更")), 1);
    originalSizeButton_ = new QPushButton(qs("元の大きさに戻す"));
    originalSizeButton_->setObjectName(QStringLiteral("originalSizeButton"));
    originalSizeButton_->setAutoDefault(false);
    ratioRow->addWidget(originalSizeButton_);
    propertiesLayout->addLayout(ratioRow);

    auto* antiAliasGroup = new QButtonGroup(this);
    antiAliasOnButton_ = new QRadioButton(qs("アンチエリアシングあり（サイズ変更時）"));
    antiAliasOnButton_->setObjectName(QStringLiteral("antiAliasOnButton"));
    antiAliasOffButton_ = new QRadioButton(qs("アンチエリアシングなし"));
    antiAliasOffButton_->setObjectName(QStringLiteral("antiAliasOffButton"));
    antiAliasGroup->addButton(antiAliasOnButton_);
    antiAliasGroup->addButton(antiAliasOffButton_);
    propertiesLayout->addWidget(antiAliasOnButton_);
    propertiesLayout->addWidget(antiAliasOffButton_);
    if (gif) {
        transparentBox_ = new QCheckBox(qs("背景色を透明にする"));
        transparentBox_->setObjectName(QStringLiteral("transparentBox"));
        propertiesLayout->addWidget(transparentBox_);
    }
    layout->addWidget(propertiesBox);

    statusLabel_ = sunkenLabel("statusLabel");
    layout->addWidget(statusLabel_);
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setTextVisible(false);
    layout->addWidget(progressBar_);

    auto* buttonRow = new QHBoxLayout;
    createButton_ = new QPushButton(qs("作成"));
    createButton_->setObjectName(QStringLiteral("createButton"));
    createButton_->setDefault(true);
    cancelButton_ = new QPushButton(qs("キャンセル"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    buttonRow->addStretch(1);
    buttonRow->addWidget(createButton_);
    buttonRow->addWidget(cancelButton_);
    layout->addLayout(buttonRow);

    connect(browseButton_, &QPushButton::clicked, this, &ExportDialog::browse);
    for (QRadioButton* button : {stillButton_, wobbleButton_, vtrButton_}) {
        if (button != nullptr)
            connect(button, &QRadioButton::toggled, this, &ExportDialog::onKindChanged);
    }
    connect(waitEdit_, &QLineEdit::textChanged, this, &ExportDialog::updateEstimate);
    connect(smoothnessSlider_, &QSlider::valueChanged, this, &ExportDialog::updateEstimate);
    // The keep-ratio rule follows typing only, so setting the other edit cannot echo back.
    connect(widthEdit_, &QLineEdit::textEdited, this, &ExportDialog::onWidthEdited);
    connect(heightEdit_, &QLineEdit::textEdited, this, &ExportDialog::onHeightEdited);
    if (!gif) {
        connect(widthEdit_, &QLineEdit::textChanged, this, &ExportDialog::updateEstimate);
        connect(heightEdit_, &QLineEdit::textChanged, this, &ExportDialog::updateEstimate);
    }
    connect(originalSizeButton_, &QPushButton::clicked, this, [this] {
        widthEdit_->setText(QString::number(state_.model.properties.width));
        heightEdit_->setText(QString::number(state_.model.properties.height));
    });
    connect(antiAliasOnButton_, &QRadioButton::toggled, this, &ExportDialog::onAntiAliasChanged);
    connect(createButton_, &QPushButton::clicked, this, &ExportDialog::create);
    connect(cancelButton_, &QPushButton::clicked, this, &ExportDialog::reject);
}

void ExportDialog::loadSettings() {
    const bool gif = target_ == ExportTarget::Gif;
    // A still image cannot be a GIF: the remembered choice falls back to the wobble.
    if (gif && settings_.kind == ExportKind::Still)
        settings_.kind = ExportKind::Wobble;
    switch (settings_.kind) {
        case ExportKind::Wobble:
            wobbleButton_->setChecked(true);
            break;
        case ExportKind::Still:
            (stillButton_ != nullptr ? stillButton_ : wobbleButton_)->setChecked(true);
            break;
        default:
            vtrButton_->setChecked(true);
            break;
    }
    waitEdit_->setEnabled(vtrButton_->isChecked());
    waitEdit_->setText(QString::number(static_cast<std::uint32_t>(settings_.waitSeconds)));

    const Model& model = state_.model;
    pathEdit_->setText(
        defaultExportPath(model, gif ? QStringLiteral(".gif") : QStringLiteral(".bmp")));
    widthEdit_->setText(QString::number(model.properties.width));
    canvasWidthLabel_->setText(QString::number(model.properties.width));
    heightEdit_->setText(QString::number(model.properties.height));
    canvasHeightLabel_->setText(QString::number(model.properties.height));

    statusLabel_->setText(qs("上記内容を確認し、「作成」ボタンを押してください。"));
    smoothnessSlider_->setRange(kMinSmoothness, kMaxSmoothness);
    smoothnessSlider_->setValue(std::clamp(settings_.smoothness, kMinSmoothness, kMaxSmoothness));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);

    if (settings_.antiAlias)
        antiAliasOnButton_->setChecked(true);
    else
        antiAliasOffButton_->setChecked(true);
    if (transparentBox_ != nullptr) {
        transparentBox_->setChecked(settings_.transparent);
        transparentBox_->setEnabled(!settings_.antiAlias);
    }
    pathEdit_->setFocus();
    updateEstimate();
}

ExportKind ExportDialog::checkedKind() const {
    if (wobbleButton_->isChecked())
        return ExportKind::Wobble;
    if (vtrButton_->isChecked() || target_ == ExportTarget::Gif)
        return ExportKind::Vtr;
    return ExportKind::Still;
}

int ExportDialog::sliderDelay() const {
    return frameDelayForSmoothness(smoothnessSlider_->value());
}

std::int32_t ExportDialog::waitOrDefault() const {
    return parseUnsignedField(waitEdit_->text()).value_or(5);
}

void ExportDialog::updateEstimate() {
    const ExportKind kind = checkedKind();
    std::optional<std::uint64_t> frames;
    if (kind != ExportKind::Vtr) {
        frames = exportFrameCount(kind, totalLength_, state_.model.properties.vtrSpeed, 0, 6);
    } else if (const auto wait = parseUnsignedField(waitEdit_->text())) {
        frames = exportFrameCount(kind, totalLength_, state_.model.properties.vtrSpeed, *wait,
                                  sliderDelay());
    }
    std::optional<std::int32_t> width;
    std::optional<std::int32_t> height;
    if (target_ == ExportTarget::Bmp) {
        width = parseUnsignedField(widthEdit_->text());
        height = parseUnsignedField(heightEdit_->text());
        if (!width || !height)
            frames.reset();
    }
    const QString invalid = QStringLiteral("***");
    frameEstimate_->setText(frames ? QString::number(*frames) : invalid);
    if (sizeEstimate_ != nullptr) {
        sizeEstimate_->setText(frames ? formatMegabytes(static_cast<double>(*height) * *width *
                                                        static_cast<double>(*frames) / 1048576.0)
                                      : invalid);
    }
}

void ExportDialog::onWidthEdited(const QString& text) {
    if (const auto value = parseUnsignedField(text)) {
        const ModelProperties& canvas = state_.model.properties;
        heightEdit_->setText(QString::number(keepRatio(*value, canvas.width, canvas.height)));
    }
}

void ExportDialog::onHeightEdited(const QString& text) {
    if (const auto value = parseUnsignedField(text)) {
        const ModelProperties& canvas = state_.model.properties;
        widthEdit_->setText(QString::number(keepRatio(*value, canvas.height, canvas.width)));
    }
}

void ExportDialog::onKindChanged() {
    waitEdit_->setEnabled(vtrButton_->isChecked() && !exporting_);
    updateEstimate();
}

void ExportDialog::onAntiAliasChanged() {
    if (transparentBox_ != nullptr)
        transparentBox_->setEnabled(!antiAliasOnButton_->isChecked());
}

void ExportDialog::browse() {
    if (!browseForPath_)
        return;
    const bool gif = target_ == ExportTarget::Gif;
    SaveChooserRequest request;
    request.title = gif ? qs("アニメーションGIFファイルの保存") : qs("連番BMPファイルの保存");
    request.currentPath = pathEdit_->text();
    request.filterName = gif ? qs("GIFファイル(*.gif)") : qs("BMPファイル(*.bmp)");
    request.pattern = gif ? QStringLiteral("*.gif") : QStringLiteral("*.bmp");
    if (const std::optional<QString> chosen = browseForPath_(this, request))
        pathEdit_->setText(*chosen);
}

void ExportDialog::showMessage(const QString& text, MessageIcon icon, QWidget* owner) {
    messages_->inform(owner != nullptr ? owner : this, text, icon);
}

void ExportDialog::setControlsEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             pathEdit_, browseButton_, smoothnessSlider_, widthEdit_, heightEdit_, wobbleButton_,
             vtrButton_, stillButton_, createButton_, cancelButton_, antiAliasOnButton_,
             antiAliasOffButton_, transparentBox_, waitEdit_, originalSizeButton_}) {
        if (control != nullptr)
            control->setEnabled(enabled);
    }
}

void ExportDialog::create() {
    if (exporting_)
        return;
    const bool gif = target_ == ExportTarget::Gif;
    const QString entered = pathEdit_->text();
    if (entered.isEmpty()) {
        showMessage(qs(kExportNoPathMessage));
        return;
    }
    const QString path = gif ? gifOutputPath(entered) : bmpBaseName(entered);

    ExportRequest request;
    request.path = path.toStdString();
    request.kind = checkedKind();
    if (request.kind == ExportKind::Vtr) {
        const auto wait = parseUnsignedField(waitEdit_->text());
        if (!wait) {
            showMessage(qs(kExportWaitInvalidMessage));
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
        showMessage(qs(kExportWidthInvalidMessage));
        return;
    }
    const auto height = parseUnsignedField(heightEdit_->text());
    if (!height || *height == 0) {
        showMessage(qs(kExportHeightInvalidMessage));
        return;
    }
    request.width = *width;
    request.height = *height;
    request.antiAlias = antiAliasOnButton_->isChecked();
    request.transparent = gif && transparentBox_->isChecked();

    if (const auto refused = validateExport(target_, request, state_)) {
        showMessage(QString::fromStdString(*refused));
        return;
    }

    // Asked about the file that will really be written first.
    const QString firstFile =
        gif ? path : QString::fromStdString(bmpFileName(request.path, request.kind, 0));
    if (QFile probe(firstFile); probe.open(QIODevice::ReadOnly)) {
        probe.close();
        const QString question =
            qs("「%1」\nこのファイルはすでに存在します。\n上書きしますか？").arg(firstFile);
        if (!messages_->confirmOverwrite(this, question))
            return;
    }

    exporting_ = true;
    setControlsEnabled(false);
    QCoreApplication::processEvents();

    ProgressObserver observer(*this);
    const ExportResult result = gif ? exportAnimatedGif(state_, renderer_, request, observer)
                                    : exportBmpSequence(state_, renderer_, request, observer);

    if (afterExport_)
        afterExport_();
    QCoreApplication::processEvents();

    if (!result.message.empty()) {
        // Memory failures belong to the main window, like every failure of the program.
        QWidget* owner = result.message.icon == MessageIcon::Error && parentWidget() != nullptr
                             ? parentWidget()
                             : this;
        showMessage(QString::fromStdString(result.message.text), result.message.icon, owner);
    }
    if (gif) {
        showMessage(result.ok ? qs("アニメーションGIFファイルを作成しました。")
                              : qs("アニメーションGIFファイルの作成に失敗しました。"));
    } else {
        showMessage(result.ok ? qs("連番BMPファイルを作成しました。")
                              : qs("連番BMPファイルの作成に失敗しました。"));
    }

    rememberExportSettings(settings_, request.kind, request.antiAlias, request.transparent,
                           static_cast<std::int32_t>(request.waitSeconds), request.delay);
    exporting_ = false;
    QDialog::accept();
}

void ExportDialog::reject() {
    // An export runs to its end; Escape or the close box cannot interrupt it.
    if (exporting_)
        return;
    const bool gif = target_ == ExportTarget::Gif;
    rememberExportSettings(settings_, checkedKind(), antiAliasOnButton_->isChecked(),
                           gif && transparentBox_->isChecked(), waitOrDefault(), sliderDelay());
    QDialog::reject();
}

GifExportDialog::GifExportDialog(EditorState& state, FrameRenderer& renderer,
                                 ExportSettings& settings, BrowseForPath browseForPath,
                                 QWidget* parent)
    : ExportDialog(ExportTarget::Gif, state, renderer, settings, std::move(browseForPath), parent) {
}

BmpExportDialog::BmpExportDialog(EditorState& state, FrameRenderer& renderer,
                                 ExportSettings& settings, BrowseForPath browseForPath,
                                 QWidget* parent)
    : ExportDialog(ExportTarget::Bmp, state, renderer, settings, std::move(browseForPath), parent) {
}

}  // namespace rek
