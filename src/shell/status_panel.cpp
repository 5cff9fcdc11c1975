#include "shell/status_panel.h"

#include <QHBoxLayout>
#include <algorithm>

namespace rek {
namespace {

constexpr std::array<int, 3> kPartRightEdges{100, 600, 800};

// What a label needs to show its whole text on one line.
int neededWidth(const QLabel& label) {
    return label.fontMetrics().horizontalAdvance(label.text()) + 2 * label.indent() +
           2 * label.frameWidth();
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    int left = 0;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setFixedWidth(kPartRightEdges[i] - left);
        label->setTextFormat(Qt::PlainText);
        label->setIndent(3);
        left = kPartRightEdges[i];
        layout->addWidget(label);
        parts_[i] = label;
    }
    layout->addStretch(1);

    progress_ = new QProgressBar(parts_[VertexCount]);
    progress_->setTextVisible(false);
    progress_->setRange(0, 0);
    progress_->hide();
}

void StatusPanel::setPartText(Part part, const QString& text) {
    QLabel* label = parts_[part];
    if (label->text() == text)
        return;
    label->setText(text);
    if (part == VertexCount)
        fitCountPart();
    if (part == VertexCount || part == Hint) {
        QLabel* hint = parts_[Hint];
        const QString tip = neededWidth(*hint) > hint->maximumWidth() ? hint->text() : QString();
        if (hint->toolTip() != tip)
            hint->setToolTip(tip);
    }
}

void StatusPanel::fitCountPart() {
    const int width =
        std::clamp(neededWidth(*parts_[VertexCount]), kPartRightEdges[0], kPartRightEdges[1] / 2);
    if (width == parts_[VertexCount]->maximumWidth())
        return;
    parts_[VertexCount]->setFixedWidth(width);
    parts_[Hint]->setFixedWidth(kPartRightEdges[1] - width);
    if (progressVisible())
        progress_->setGeometry(parts_[VertexCount]->rect());
}

QString StatusPanel::partText(Part part) const {
    return parts_[part]->text();
}

void StatusPanel::showProgress(int maximum) {
    progress_->setGeometry(parts_[VertexCount]->rect());
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setValue(0);
    progress_->show();
}

void StatusPanel::setProgress(int value) {
    progress_->setValue(std::clamp(value, progress_->minimum(), progress_->maximum()));
}

void StatusPanel::hideProgress() {
    progress_->hide();
}

bool StatusPanel::progressVisible() const {
    return !progress_->isHidden();
}

}  // namespace rek
