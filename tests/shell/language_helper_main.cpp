// rektool's start-up, which chooses the language from the command line or the locale, printing
// what the user then sees: the caption, a toolbar tooltip, the status hint, the open chooser's
// file types and the save question's text and buttons, one "name=text" line each, in UTF-8.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/text/messages.h"
#include "shell/ui/message_box.h"

namespace {

void print(const char* name, const QString& text) {
    std::printf("%s=%s\n", name,
                QString(text).replace('\n', QLatin1String("\\n")).toUtf8().constData());
}

// Prints the question box on screen and closes it with Cancel.
void readQuestion() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr)
        return QTimer::singleShot(10, readQuestion);
    print("question", box->text());
    QStringList buttons;
    for (QAbstractButton* button : box->buttons())
        buttons.append(button->text());
    buttons.sort();
    print("buttons", buttons.join(QLatin1Char('|')));
    box->reject();
}

}  // namespace

int main(int argc, char** argv) {
    rek::EditorHooks hooks;
    hooks.started = [](rek::AppState&) {
        QTimer::singleShot(0, [] {
            rek::MainWindow* window = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                window = window ? window : qobject_cast<rek::MainWindow*>(widget);
            if (window == nullptr)
                return QApplication::exit(3);
            print("caption", window->windowTitle());
            print("tooltip", window->action(rek::CommandId::Open)->toolTip());
            print("hint", window->statusPanel().partText(rek::StatusPanel::Hint));
            print("filters", rek::messages::openModelFilters());
            QTimer::singleShot(0, readQuestion);
            rek::showMessageBox(window, rek::messages::saveChanges(),
                                rek::MessageButtons::YesNoCancel);
            std::fflush(stdout);
            window->close();
        });
    };
    return rek::runEditor(argc, argv, hooks);
}
