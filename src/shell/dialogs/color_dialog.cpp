#include "shell/dialogs/color_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "shell/dialogs/color_palette.h"
#include "shell/dialogs/color_swatch.h"
#include "shell/ui/dialog_style.h"

namespace rek {

namespace {

std::uint8_t& component(ColorRgb& color, int channel) {
    if (channel == 0)
        return color.red;
    if (channel == 1)
        return color.green;
    return color.blue;
}

}  // namespace

ColorRgb& colorOf(ModelProperties& properties, ColorTarget target) {
    switch (target) {
        case ColorTarget::Line:
            return properties.lineColor;
        case ColorTarget::Shadow:
            return properties.shadowColor;
        case ColorTarget::Background:
            break;
    }
    return properties.backgroundColor;
}

ColorDialog::ColorDialog(ColorRgb opening, QWidget* parent)
    : QDialog(parent), opening_(opening), working_(opening) {
    setWindowTitle(tr("色選択"));
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(199), du.y(179));

    preview_ = new ColorSwatch(QString(), this);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    preview_->setGeometry(du.rect(7, 7, 48, 44));

    const char* const channelNames[3] = {"RED", "GREEN", "BLUE"};
    const char* const objectNames[3] = {"red", "green", "blue"};
    for (int c = 0; c < 3; ++c) {
        const int top = 7 + c * 16;
        auto* label = new QLabel(QString::fromLatin1(channelNames[c]), this);
        label->setGeometry(du.rect(62, top + 2, 28, 8));

        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::fromLatin1(objectNames[c]) + QStringLiteral("Slider"));
        slider->setRange(0, 255);
        slider->setTickPosition(QSlider::NoTicks);
        slider->setGeometry(du.rect(90, top, 74, 12));
        sliders_[c] = slider;

        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(objectNames[c]) + QStringLiteral("Edit"));
        edit->setAlignment(Qt::AlignRight);
        edit->setGeometry(du.rect(168, top, 24, 12));
        edits_[c] = edit;
    }

    auto* samples = new QGroupBox(tr("色見本"), this);
    samples->setGeometry(du.rect(5, 56, 189, 62));
    for (int i = 0; i < kPaletteSize; ++i) {
        auto* sample = new ColorSwatch(QString(), samples);
        const int row = i / 9;
        const int column = i % 9;
        sample->setObjectName(QStringLiteral("sample%1").arg(i));
        sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        sample->setColor(paletteColor(i));
        sample->setGeometry(du.rect(6 + column * 20, 12 + row * 16, 18, 14));
        connect(sample, &ColorSwatch::clicked, this, [this, i] { chooseSample(i); });
    }

    auto* hint =
        new QLabel(tr("色見本をクリックするか、\nＲＧＢバーを操作して色を選んでください。"), this);
    hint->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    hint->setAlignment(Qt::AlignCenter);
    hint->setGeometry(du.rect(5, 123, 189, 26));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(42, 157, 54, 14));
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.rect(103, 157, 54, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showWorkingColor();
    preview_->setColor(working_);
    for (int c = 0; c < 3; ++c) {
        const auto channel = static_cast<Channel>(c);
        connect(sliders_[c], &QSlider::valueChanged, this,
                [this, channel](int value) { onSliderMoved(channel, value); });
        connect(edits_[c], &QLineEdit::textChanged, this,
                [this, channel](const QString& text) { onEditChanged(channel, text); });
    }
}

void ColorDialog::reject() {
    working_ = opening_;
    applyWorkingColor();
    QDialog::reject();
}

void ColorDialog::onSliderMoved(Channel channel, int value) {
    component(working_, channel) = static_cast<std::uint8_t>(value);
    // The edit is not focused while its slider moves, so this does not act back.
    edits_[channel]->setText(QString::number(value));
    applyWorkingColor();
}

void ColorDialog::onEditChanged(Channel channel, const QString& text) {
    // Only what the user types counts; numbers written from a slider or a sample do not.
    if (!edits_[channel]->hasFocus())
        return;
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok || value > 255)
        return;
    component(working_, channel) = static_cast<std::uint8_t>(value);
    {
        // Moving the slider must not rewrite the text being typed.
        const QSignalBlocker blocker(sliders_[channel]);
        sliders_[channel]->setValue(static_cast<int>(value));
    }
    applyWorkingColor();
}

void ColorDialog::chooseSample(int index) {
    working_ = paletteColor(index);
    showWorkingColor();
    applyWorkingColor();
}

void ColorDialog::showWorkingColor() {
    for (int c = 0; c < 3; ++c) {
        const int value = component(working_, c);
        {
            const QSignalBlocker blocker(sliders_[c]);
            sliders_[c]->setValue(value);
        }
        const QSignalBlocker blocker(edits_[c]);
        edits_[c]->setText(QString::number(value));
    }
}

void ColorDialog::applyWorkingColor() {
    preview_->setColor(working_);
    emit workingColorChanged(working_);
}

}  // namespace rek
