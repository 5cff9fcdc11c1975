#include "shell/dialogs/about_box.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtGlobal>

#include "shell/dialogs/link_label.h"
#include "shell/text/messages.h"
#include "shell/ui/dialog_style.h"

namespace rek {

QString AboutBox::versionLine() {
    return messages::appTitle();
}

QString AboutBox::authorLine() {
    return tr("レクツール developers");
}

AboutBox::AboutBox(const AboutInfo& info, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("バージョン情報"));
    setFont(dialogFont());
    const DialogUnits du(font());

    auto* version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setGeometry(du.rect(7, 7, 76, 9));
    auto* author = new QLabel(authorLine(), this);
    author->setObjectName(QStringLiteral("authorLabel"));
    author->setGeometry(du.rect(86, 7, 92, 9));

    // The link rows follow one another; a row left out takes its height out of the box.
    constexpr int kRowHeight = 20;
    int top = 29;
    if (addLinkRow(tr("ご意見・ご感想・バグ情報"), info.feedback, du.rect(7, top, 80, 9),
                   du.rect(90, top, 88, 9), "feedbackLink") != nullptr)
        top += kRowHeight;
    if (addLinkRow(tr("時間に余裕のある人は"), info.home, du.rect(15, top, 72, 9),
                   du.rect(90, top, 88, 9), "homeLink") != nullptr)
        top += kRowHeight;
    const int shift = 69 - top;  // dialog units the rows below move up

    auto* thanks = new QGroupBox(QStringLiteral("Special Thanks"), this);
    thanks->setGeometry(du.rect(5, 65 - shift, 175, 60));
    QStringList lines{info.imageLibraryLine};
    if (info.thanks.isEmpty()) {
        lines << QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion()));
    } else {
        lines << info.thanks.mid(0, 2);
    }
    for (int i = 0; i < lines.size(); ++i) {
        auto* line = new QLabel(lines[i], thanks);
        line->setObjectName(QStringLiteral("thanks%1").arg(i));
        line->setGeometry(du.rect(10, 13 + i * 15, 160, 9));
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(110, 129 - shift, 67, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
    setFixedSize(du.x(183), du.y(147 - shift));
}

LinkLabel* AboutBox::addLinkRow(const QString& caption, const AboutLink& link, QRect captionRect,
                                QRect linkRect, const char* name) {
    if (link.target.isEmpty())
        return nullptr;
    auto* label = new QLabel(caption, this);
    label->setGeometry(captionRect);
    auto* linkLabel = new LinkLabel(link.text.isEmpty() ? link.target.toDisplayString() : link.text,
                                    link.target, this);
    linkLabel->setObjectName(QString::fromLatin1(name));
    // Only the position and height come from the layout; the width is the text's.
    linkLabel->move(linkRect.topLeft());
    linkLabel->resize(linkLabel->width(), linkRect.height());
    return linkLabel;
}

}  // namespace rek
