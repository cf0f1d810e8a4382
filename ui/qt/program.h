#pragma once
// The whole program: the application, the main window, the message loop, and
// the way out.

#include "ui/qt/main_window.h"

namespace velmo::ui::qt {

// Qt settings that must be made before the application object exists.
void PrepareApplication();

// Shows the window and runs the message loop until it is closed. Does not
// return: the process ends right there (see the definition for why). The
// hook, when given, runs once the window is on screen.
[[noreturn]] void RunProgram(int& argc, char** argv, MainWindowOptions options,
                             const std::function<void(MainWindow&)>& on_shown = {});

}  // namespace velmo::ui::qt
