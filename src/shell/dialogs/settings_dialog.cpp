#include "shell/dialogs/settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "shell/text/messages.h"
#include "shell/ui/dialog_style.h"
#include "shell/ui/message_box.h"

namespace rek {

SettingsDialog::SettingsDialog(bool& openInVtrMode, AssociationTarget association, QWidget* parent)
    : QDialog(parent), openInVtrMode_(openInVtrMode), association_(std::move(association)) {
    setWindowTitle(tr("設定"));
    setFont(dialogFont());
    const DialogUnits du(font());
    setFixedSize(du.x(229), du.y(105));

    vtrModeBox_ = new QCheckBox(tr("ファイルを開いた時にVTRモードにする"), this);
    vtrModeBox_->setObjectName(QStringLiteral("vtrModeBox"));
    vtrModeBox_->setGeometry(du.rect(17, 7, 150, 10));
    vtrModeBox_->setChecked(openInVtrMode_);

    auto* group = new QGroupBox(tr("関連付け"), this);
    group->setGeometry(du.rect(5, 25, 220, 55));
    auto* associateButton =
        new QPushButton(tr("レクモデルファイルをレクツールに関連付ける"), group);
    associateButton->setObjectName(QStringLiteral("associateButton"));
    associateButton->setGeometry(du.rect(5, 15, 138, 15));
    auto* removeButton = new QPushButton(tr("関連付けを解除"), group);
    removeButton->setObjectName(QStringLiteral("removeButton"));
    removeButton->setGeometry(du.rect(150, 15, 65, 15));
    auto* note =
        new QLabel(tr("ファイルを関連付けるとダブルクリックで開けるようになります"), group);
    note->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    note->setAlignment(Qt::AlignCenter);
    note->setGeometry(du.rect(5, 35, 210, 15));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(55, 85, 50, 14));
    auto* cancel = new QPushButton(tr("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(du.rect(121, 85, 50, 14));

    connect(associateButton, &QPushButton::clicked, this, &SettingsDialog::associate);
    connect(removeButton, &QPushButton::clicked, this, &SettingsDialog::removeAssociation);
    connect(ok, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SettingsDialog::reject);
    vtrModeBox_->setFocus();
}

void SettingsDialog::accept() {
    openInVtrMode_ = vtrModeBox_->isChecked();
    QDialog::accept();
}

void SettingsDialog::associate() {
    report(AssociationAction::Associate, associateModelFiles(association_));
}

void SettingsDialog::removeAssociation() {
    report(AssociationAction::Remove, removeModelFileAssociation(association_.dataHome));
}

void SettingsDialog::report(AssociationAction action, const AssociationOutcome& outcome) {
    showMessageBox(this, outcome.problem ? messages::associationFailed(action, *outcome.problem)
                                         : messages::associationDone(action));
}

}  // namespace rek
