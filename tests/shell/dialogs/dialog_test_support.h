#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace rek::test {

// Answers every message box that becomes the active modal window while it lives, pressing
// `answer` (OK unless told otherwise), and remembers what the boxes said.
class MessageBoxAnswerer : public QObject {
  public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok);

    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;
    QList<QMessageBox::StandardButtons> buttonSets;

  private:
    QTimer timer_;
};

// Takes the addresses the desktop would open, in place of the real handlers.
class UrlCatcher : public QObject {
    Q_OBJECT

  public:
    explicit UrlCatcher(QStringList schemes);
    ~UrlCatcher() override;

    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }

  private:
    QStringList schemes_;
};

// Offers each active modal widget to `action` until it returns true (drives nested exec()).
void whenModal(const std::function<bool(QWidget*)>& action);

template <typename T>
T* child(QWidget* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

// Shows a top-level widget and waits until it has become the active window.
bool showActive(QWidget& widget);

}  // namespace rek::test
