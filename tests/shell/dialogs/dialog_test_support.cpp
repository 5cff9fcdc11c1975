#include "dialog_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QTest>

namespace rek::test {

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        texts << box->text();
        captions << box->windowTitle();
        icons << box->icon();
        buttonSets << box->standardButtons();
        QAbstractButton* button = box->button(answer);
        if (button != nullptr) {
            button->click();
        } else {
            ADD_FAILURE() << "the box has no such button: " << box->text().toStdString();
            box->done(QMessageBox::Cancel);
        }
    });
    timer_.start();
}

UrlCatcher::UrlCatcher(QStringList schemes) : schemes_(std::move(schemes)) {
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlCatcher::~UrlCatcher() {
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

void whenModal(const std::function<bool(QWidget*)>& action) {
    // Polls until the action accepts the modal widget it is offered.
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible() && action(modal))
            timer->deleteLater();
    });
    timer->start();
}

bool showActive(QWidget& widget) {
    widget.show();
    QApplication::setActiveWindow(&widget);
    return QTest::qWaitForWindowActive(&widget);
}

}  // namespace rek::test
