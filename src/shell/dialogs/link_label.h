#pragma once

#include <QLabel>
#include <QUrl>

namespace rek {

// A text drawn like a web link that opens its address with the desktop's default handler.
// It is exactly as wide as its text, so the hand cursor and the clicks are confined to it.
class LinkLabel : public QLabel {
    Q_OBJECT

  public:
    LinkLabel(const QString& text, const QUrl& target, QWidget* parent = nullptr);

    QUrl target() const { return target_; }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QUrl target_;
};

}  // namespace rek
