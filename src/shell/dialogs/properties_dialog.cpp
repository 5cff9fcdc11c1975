#include "shell/dialogs/properties_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "shell/dialogs/color_swatch.h"
#include "shell/text/messages.h"
#include "shell/ui/dialog_style.h"
#include "shell/ui/message_box.h"

namespace rek {

namespace {

constexpr std::int32_t kLineWidthBase = 4;  // slider position p means a width of 4 + 2p

int lineWidthPosition(std::int32_t lineWidth) {
    return (lineWidth - kLineWidthBase) / 2;
}

// Reads a size field as an unsigned number within [low, high]. The fields have always taken
// what QString::toUInt takes: blanks around, a plus sign and leading zeros.
std::optional<std::int32_t> readSize(const QLineEdit* edit, std::int32_t low, std::int32_t high) {
    bool ok = false;
    const uint value = edit->text().trimmed().toUInt(&ok);
    if (!ok || value < static_cast<uint>(low) || value > static_cast<uint>(high))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

PropertiesDialog::PropertiesDialog(Editor& editor, Mode mode, QWidget* parent)
    : QDialog(parent),
      editor_(editor),
      mode_(mode),
      opening_(editor.model().properties),
      working_(opening_) {
    const ModelProperties& properties = working_;
    setWindowTitle(mode_ == Mode::NewModel ? tr("新規作成するレクモデルのプロパティ")
                                           : tr("レクモデルのプロパティ"));
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(227), du.y(215));

    auto* sizeGroup = new QGroupBox(tr("大きさ"), this);
    sizeGroup->setGeometry(du.rect(7, 3, 213, 42));
    auto label = [&](QWidget* owner, const QString& text, QRect geometry,
                     Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* widget = new QLabel(text, owner);
        widget->setAlignment(alignment);
        widget->setGeometry(geometry);
        return widget;
    };
    label(sizeGroup, tr("幅"), du.rect(10, 11, 40, 8), Qt::AlignCenter);
    label(sizeGroup, QStringLiteral("×"), du.rect(50, 22, 14, 10), Qt::AlignCenter);
    label(sizeGroup, tr("高さ"), du.rect(64, 11, 40, 8), Qt::AlignCenter);
    widthEdit_ = new QLineEdit(QString::number(properties.width), sizeGroup);
    widthEdit_->setObjectName(QStringLiteral("widthEdit"));
    widthEdit_->setAlignment(Qt::AlignCenter);
    widthEdit_->setGeometry(du.rect(10, 21, 40, 12));
    heightEdit_ = new QLineEdit(QString::number(properties.height), sizeGroup);
    heightEdit_->setObjectName(QStringLiteral("heightEdit"));
    heightEdit_->setAlignment(Qt::AlignCenter);
    heightEdit_->setGeometry(du.rect(64, 21, 40, 12));
    label(sizeGroup, tr("最小 10×10 ～ 最大 800×600"), du.rect(112, 22, 96, 10));

    auto slider = [&](const char* name, int low, int high, int position, bool ticks, int top) {
        auto* widget = new QSlider(Qt::Horizontal, this);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setRange(low, high);
        widget->setValue(position);
        widget->setPageStep(ticks ? 1 : 10);
        widget->setTickPosition(ticks ? QSlider::TicksBelow : QSlider::NoTicks);
        widget->setTickInterval(1);
        widget->setGeometry(du.rect(60, top, 156, ticks ? 16 : 12));
        return widget;
    };
    label(this, tr("線の太さ"), du.rect(12, 50, 46, 10));
    lineWidthSlider_ =
        slider("lineWidthSlider", 0, 8, lineWidthPosition(properties.lineWidth), true, 48);
    label(this, tr("揺れ具合"), du.rect(12, 68, 46, 10));
    wobbleSlider_ = slider("wobbleSlider", 1, 8, properties.wobbleAmount, true, 66);
    label(this, tr("VTRの速さ"), du.rect(12, 85, 46, 10));
    vtrSpeedSlider_ = slider("vtrSpeedSlider", 1, 150, properties.vtrSpeed, false, 84);

    auto* colorGroup = new QGroupBox(tr("色"), this);
    colorGroup->setGeometry(du.rect(7, 99, 213, 66));
    const QString swatchTexts[3] = {tr("直線"), tr("影"), tr("背景")};
    const char* const swatchNames[3] = {"line", "shadow", "background"};
    const ColorTarget targets[3] = {ColorTarget::Line, ColorTarget::Shadow,
                                    ColorTarget::Background};
    ColorSwatch* swatches[3] = {};
    QPushButton* changeButtons[3] = {};
    for (int i = 0; i < 3; ++i) {
        const int left = 8 + i * 68;
        swatches[i] = new ColorSwatch(swatchTexts[i], colorGroup);
        swatches[i]->setObjectName(QString::fromLatin1(swatchNames[i]) + QStringLiteral("Swatch"));
        swatches[i]->setGeometry(du.rect(left, 12, 60, 14));
        changeButtons[i] = new QPushButton(tr("変更"), colorGroup);
        changeButtons[i]->setObjectName(QString::fromLatin1(swatchNames[i]) +
                                        QStringLiteral("Change"));
        changeButtons[i]->setGeometry(du.rect(left, 28, 60, 13));
        const ColorTarget target = targets[i];
        connect(changeButtons[i], &QPushButton::clicked, this,
                [this, target] { changeColor(target); });
    }
    lineSwatch_ = swatches[0];
    shadowSwatch_ = swatches[1];
    backgroundSwatch_ = swatches[2];
    shadowChangeButton_ = changeButtons[1];

    hideShadowBox_ = new QCheckBox(tr("影を表示しない"), colorGroup);
    hideShadowBox_->setObjectName(QStringLiteral("hideShadowBox"));
    hideShadowBox_->setGeometry(du.rect(8, 48, 90, 10));
    autoShadowButton_ = new QPushButton(tr("影の色を自動調整"), colorGroup);
    autoShadowButton_->setObjectName(QStringLiteral("autoShadowButton"));
    autoShadowButton_->setGeometry(du.rect(112, 46, 92, 13));

    auto* standardColorsButton = new QPushButton(tr("標準の配色に戻す"), this);
    standardColorsButton->setObjectName(QStringLiteral("standardColorsButton"));
    standardColorsButton->setGeometry(du.rect(7, 170, 104, 14));
    auto* allStandardButton = new QPushButton(tr("すべて標準に戻す"), this);
    allStandardButton->setObjectName(QStringLiteral("allStandardButton"));
    allStandardButton->setGeometry(du.rect(116, 170, 104, 14));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(52, 194, 56, 14));
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.rect(119, 194, 56, 14));
    cancel->setEnabled(mode_ != Mode::NewModel);

    const bool hidden = properties.shadowMode == 1;
    hideShadowBox_->setChecked(hidden);
    autoShadowButton_->setEnabled(!hidden);
    shadowChangeButton_->setEnabled(!hidden);
    refreshSwatches();

    // Connected after the controls hold their initial values, so opening changes nothing.
    connect(wobbleSlider_, &QSlider::valueChanged, this, [this](int position) {
        working_.wobbleAmount = position;
        preview();
    });
    connect(lineWidthSlider_, &QSlider::valueChanged, this, &PropertiesDialog::onLineWidthSlider);
    connect(vtrSpeedSlider_, &QSlider::valueChanged, this, &PropertiesDialog::onVtrSpeedSlider);
    connect(hideShadowBox_, &QCheckBox::toggled, this, &PropertiesDialog::onShadowHidden);
    connect(autoShadowButton_, &QPushButton::clicked, this, &PropertiesDialog::adjustShadowColor);
    connect(standardColorsButton, &QPushButton::clicked, this,
            &PropertiesDialog::applyStandardColors);
    connect(allStandardButton, &QPushButton::clicked, this, &PropertiesDialog::applyAllStandard);
    connect(ok, &QPushButton::clicked, this, &PropertiesDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PropertiesDialog::reject);

    widthEdit_->setFocus();
}

void PropertiesDialog::preview() {
    editor_.previewProperties(working_);
}

void PropertiesDialog::onLineWidthSlider(int position) {
    working_.lineWidth = kLineWidthBase + 2 * position;
    preview();
}

void PropertiesDialog::onVtrSpeedSlider(int position) {
    working_.vtrSpeed = position;
    preview();
    // A replay previews the new speed.
    editor_.previewReplay();
}

void PropertiesDialog::onShadowHidden(bool hidden) {
    working_.shadowMode = hidden ? 1 : 0;
    preview();
    autoShadowButton_->setEnabled(!hidden);
    shadowChangeButton_->setEnabled(!hidden);
}

void PropertiesDialog::adjustShadowColor() {
    const ColorRgb line = working_.lineColor;
    const ColorRgb background = working_.backgroundColor;
    const auto average = [](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>((a + b) / 2);
    };
    working_.shadowColor =
        ColorRgb{average(line.red, background.red), average(line.green, background.green),
                 average(line.blue, background.blue)};
    preview();
    refreshSwatches();
}

void PropertiesDialog::applyStandardColors() {
    const ModelProperties standard;
    working_.lineColor = standard.lineColor;
    working_.shadowColor = standard.shadowColor;
    working_.backgroundColor = standard.backgroundColor;
    preview();
    refreshSwatches();
}

void PropertiesDialog::applyAllStandard() {
    const ModelProperties standard;
    working_.wobbleAmount = standard.wobbleAmount;
    working_.vtrSpeed = standard.vtrSpeed;
    working_.lineWidth = standard.lineWidth;
    working_.shadowMode = 0;
    {
        // The positions follow the values; moving them must not act again (no VTR preview).
        const QSignalBlocker wobble(wobbleSlider_);
        const QSignalBlocker vtr(vtrSpeedSlider_);
        const QSignalBlocker line(lineWidthSlider_);
        const QSignalBlocker shadow(hideShadowBox_);
        wobbleSlider_->setValue(standard.wobbleAmount);
        vtrSpeedSlider_->setValue(standard.vtrSpeed);
        lineWidthSlider_->setValue(lineWidthPosition(standard.lineWidth));
        hideShadowBox_->setChecked(false);
    }
    autoShadowButton_->setEnabled(true);
    shadowChangeButton_->setEnabled(true);
    // Only the fields: the canvas is resized by OK.
    widthEdit_->setText(QString::number(standard.width));
    heightEdit_->setText(QString::number(standard.height));
    applyStandardColors();
}

void PropertiesDialog::changeColor(ColorTarget target) {
    ColorDialog dialog(colorOf(working_, target), this);
    connect(&dialog, &ColorDialog::workingColorChanged, this, [this, target](ColorRgb color) {
        colorOf(working_, target) = color;
        preview();
        refreshSwatches();
    });
    dialog.exec();
    colorOf(working_, target) = dialog.workingColor();
    preview();
    refreshSwatches();
}

void PropertiesDialog::refreshSwatches() {
    lineSwatch_->setColor(working_.lineColor);
    shadowSwatch_->setColor(working_.shadowColor);
    backgroundSwatch_->setColor(working_.backgroundColor);
}

void PropertiesDialog::accept() {
    const std::optional<std::int32_t> width = readSize(widthEdit_, kMinCanvasSize, kMaxCanvasWidth);
    if (!width) {
        showMessageBox(this, messages::widthOutOfRange());
        return;
    }
    const std::optional<std::int32_t> height =
        readSize(heightEdit_, kMinCanvasSize, kMaxCanvasHeight);
    if (!height) {
        showMessageBox(this, messages::heightOutOfRange());
        return;
    }
    working_.width = *width;
    working_.height = *height;
    editor_.acceptProperties(working_, /*recordSnapshot=*/mode_ != Mode::NewModel);
    QDialog::accept();
}

void PropertiesDialog::reject() {
    // A new model must get its properties: there is nothing to go back to.
    if (mode_ == Mode::NewModel)
        return;
    editor_.cancelProperties(opening_);
    QDialog::reject();
}

}  // namespace rek
