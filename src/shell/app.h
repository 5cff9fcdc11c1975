#pragma once

namespace rek {

// Runs the editor: the single-instance check, start-up, the event loop and the shutdown that
// writes Config.dat. Returns the process exit code.
int runEditor(int argc, char** argv);

// The application-wide settings made before any window exists: the name (which names the
// configuration folder) and the dialog font.
void configureApplication();

}  // namespace rek
