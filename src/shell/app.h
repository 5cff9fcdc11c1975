#pragma once

#include <functional>

namespace rek {

class DocumentUi;
struct AppState;

// What a program other than rektool (a test driving the real start-up in a process of its
// own) may give the editor's start-up. rektool gives nothing.
struct EditorHooks {
    // Answers the document questions, the recovery question included, instead of dialogs.
    DocumentUi* documentUi = nullptr;
    // Runs once start-up is over, just before the event loop.
    std::function<void(AppState&)> started;
};

// Runs the editor: the single-instance check, start-up (the recovery question before anything
// is opened), the event loop with the autosave, and the shutdown that writes Config.dat.
// Returns the process exit code.
int runEditor(int argc, char** argv, const EditorHooks& hooks = {});

// The application-wide settings made before any window exists: the name (which names the
// configuration folder) and the dialog font.
void configureApplication();

}  // namespace rek
