// rektool's start-up with two things given from outside, for the recovery process test. The
// environment says what to do:
//   REK_HELPER_MODE=draw     draw through the editor once started, write what the editor then
//                            holds to REK_HELPER_OUT, and run until killed;
//   REK_HELPER_MODE=restore  answer Restore to the recovery question, write the restored model
//                            to REK_HELPER_OUT, print its state and quit without saving.
// Everything else (command line, single instance, Config.dat, the recovery question, the
// autosave and its interval) is the program's own.

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

// Lines with the straight-line tool and a property change, as a user would make them.
void drawLostWork(rek::Editor& editor) {
    if (editor.replaying())
        editor.toggleReplay();  // Enter, as a user stops the replay after an open
    drag(editor, {20, 30}, {200, 30});
    drag(editor, {210, 40}, {120, 250});
    drag(editor, {15, 400}, {700, 401});
    rek::ModelProperties properties = editor.model().properties;
    properties.lineWidth = 11;
    editor.acceptProperties(properties, true);
}

bool writeModel(const rek::Model& model) {
    const char* out = std::getenv("REK_HELPER_OUT");
    return out != nullptr && !rek::saveModel(model, out).has_value();
}

std::string hexOf(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (const unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", c);
        hex += digits;
    }
    return hex;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = std::getenv("REK_HELPER_MODE") ? std::getenv("REK_HELPER_MODE") : "";
    rek::FakeDocumentUi ui;
    ui.recoveryAnswers = {rek::RecoveryAnswer::Restore};
    ui.saveAnswers = {rek::SaveAnswer::No};
    rek::EditorHooks hooks;
    hooks.documentUi = &ui;
    hooks.started = [&mode, &ui](rek::AppState& state) {
        if (mode == "draw") {
            drawLostWork(state.editor);
            if (!writeModel(state.editor.model()))
                std::exit(3);
        } else if (mode == "restore") {
            const rek::Model& model = state.editor.model();
            if (!writeModel(model))
                std::exit(3);
            std::printf("questions %zu\nmodified %d\npath %s\nname %s\n",
                        ui.recoveryQuestions.size(), model.modified ? 1 : 0,
                        hexOf(model.filePath).c_str(), model.displayName.c_str());
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QApplication::closeAllWindows);
        }
    };
    return rek::runEditor(argc, argv, hooks);
}
