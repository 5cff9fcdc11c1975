#pragma once

#include <QDialog>
#include <QStringList>
#include <QUrl>

namespace rek {

class LinkLabel;

struct AboutLink {
    QString text;  // what the box shows, underlined
    QUrl target;   // what a click opens; the row is left out when it is empty
};

struct AboutInfo {
    // The version line of the component that writes the images.
    QString imageLibraryLine;
    // Under "ご意見・ご感想・バグ情報": where opinions and fault reports go.
    AboutLink feedback;
    // Under "時間に余裕のある人は": further reading, e.g. the manual shipped with the program.
    AboutLink home;
    // Further "Special Thanks" lines under the image library's (two fit); Qt when empty.
    QStringList thanks;
};

// The version information box. Closed by OK or Escape; the caller has nothing to do after.
class AboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit AboutBox(const AboutInfo& info, QWidget* parent = nullptr);

    static QString versionLine();
    static QString authorLine();

  private:
    LinkLabel* addLinkRow(const QString& caption, const AboutLink& link, QRect captionRect,
                          QRect linkRect, const char* name);
};

}  // namespace rek
