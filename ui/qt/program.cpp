#include "ui/qt/program.h"

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace velmo::ui::qt {

void PrepareApplication() {
  // The web engine shares its GL contexts with the widgets; this has to be
  // said before the application object is made.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The web engine's sandbox cannot run for the root user, and without it
  // switched off the engine ends the whole program as soon as it starts.
  if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
}

void RunProgram(int& argc, char** argv, MainWindowOptions options,
                const std::function<void(MainWindow&)>& on_shown) {
  PrepareApplication();
  // The application and the window are never destroyed: see below.
  auto* application = new QApplication(argc, argv);
  QApplication::setQuitOnLastWindowClosed(true);
  auto* window = new MainWindow(std::move(options));
  window->show();
  if (on_shown) QTimer::singleShot(0, window, [window, on_shown] { on_shown(*window); });
  const int code = application->exec();

  // The window is closed and has detached its bridge, so no worker can reach
  // it any more. Workers may still be blocked in a request, though, and they
  // are never waited for. An ordinary exit would run the static destructors
  // (the HTTP stack's global state, Qt's and the web engine's) under their
  // feet, and tearing the web engine down would itself take time. Nothing is
  // left to save — the program keeps no state — so the process ends here, at
  // once, after its output is flushed; the web engine's helper processes see
  // their parent go and end with it.
  std::fflush(nullptr);
  std::_Exit(code);
}

}  // namespace velmo::ui::qt
