#include "shell/ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "shell/text/messages.h"

namespace rek {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton boxButton(MessageAnswer answer) {
    switch (answer) {
        case MessageAnswer::Ok:
            return QMessageBox::Ok;
        case MessageAnswer::Yes:
            return QMessageBox::Yes;
        case MessageAnswer::No:
            return QMessageBox::No;
        case MessageAnswer::Cancel:
            return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

}  // namespace

MessageAnswer showMessageBox(QWidget* owner, const QString& text, MessageButtons buttons,
                             MessageIcon icon, MessageAnswer defaultAnswer) {
    QMessageBox box(boxIcon(icon), messages::appTitle(), text, boxButtons(buttons), owner);
    if (box.standardButtons().testFlag(boxButton(defaultAnswer)))
        box.setDefaultButton(boxButton(defaultAnswer));
    switch (box.exec()) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

void showMessage(QWidget* owner, const UserMessage& message) {
    showMessageBox(owner, message.text, MessageButtons::Ok, message.icon);
}

int showChoiceBox(QWidget* owner, const QString& text, const QStringList& buttons,
                  int defaultIndex) {
    QMessageBox box(QMessageBox::NoIcon, messages::appTitle(), text, QMessageBox::NoButton, owner);
    QList<QPushButton*> pushButtons;
    // One role for all keeps them in the order given on every desktop's button layout.
    for (const QString& label : buttons)
        pushButtons.append(box.addButton(label, QMessageBox::ActionRole));
    if (pushButtons.isEmpty())
        return -1;
    if (defaultIndex >= 0 && defaultIndex < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultIndex]);
    box.setEscapeButton(pushButtons.last());
    box.exec();
    const int chosen = static_cast<int>(pushButtons.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : static_cast<int>(pushButtons.size()) - 1;
}

}  // namespace rek
