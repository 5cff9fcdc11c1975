// rektool's start-up with the drawing and the answers given from outside, for the recovery
// process test. REK_HELPER_MODE says what to do:
//   draw     draw once started, write what the editor then holds to REK_HELPER_OUT, run on;
//   restore  answer Restore, write the restored model to REK_HELPER_OUT, print its state and
//            quit without saving.
// Everything else (command line, single instance, the recovery question, the autosave and its
// interval) is the program's own.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>

#include "fake_document_ui.h"
#include "model/model_file.h"
#include "shell/app.h"
#include "shell/app_state.h"

namespace {

void drag(rek::Editor& editor, rek::Point from, rek::Point to) {
    editor.samplePointer(from);
    editor.pressLeft({});
    editor.samplePointer(to);
    editor.movePointer(true, {});
    editor.releaseLeft({});
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = std::getenv("REK_HELPER_MODE") ? std::getenv("REK_HELPER_MODE") : "";
    const char* out = std::getenv("REK_HELPER_OUT");
    rek::FakeDocumentUi ui;
    ui.recoveryAnswers = {rek::RecoveryAnswer::Restore};
    ui.saveAnswers = {rek::SaveAnswer::No};
    rek::EditorHooks hooks;
    hooks.documentUi = &ui;
    hooks.started = [&](rek::AppState& state) {
        rek::Editor& editor = state.editor;
        if (mode == "draw") {
            if (editor.replaying())
                editor.toggleReplay();  // Enter, as a user stops the replay after an open
            drag(editor, {20, 30}, {200, 30});
            drag(editor, {210, 40}, {120, 250});
            drag(editor, {15, 400}, {700, 401});
            rek::ModelProperties properties = editor.model().properties;
            properties.lineWidth = 11;
            editor.acceptProperties(properties, true);
        }
        if (out == nullptr || rek::saveModel(editor.model(), out).has_value())
            std::exit(3);
        if (mode == "restore") {
            std::printf("questions %zu\nmodified %d\npath %s\nname %s\n",
                        ui.recoveryQuestions.size(), editor.model().modified ? 1 : 0,
                        QByteArray::fromStdString(editor.model().filePath).toHex().constData(),
                        editor.model().displayName.c_str());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QApplication::closeAllWindows);
        }
    };
    return rek::runEditor(argc, argv, hooks);
}
