// Velmo: one long address, nine shortening services, one click.
#include <cstdio>
#include <cstdlib>

#include "ui/qt/program.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

int main(int argc, char** argv) {
  // Without a display Qt would abort with a message about platform plugins;
  // say what is missing instead. A platform chosen on purpose (offscreen, vnc)
  // is left alone.
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "Velmo opens a window, but there is no display here (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\nRun it on a desktop session, or under a virtual X "
                 "server:\n  xvfb-run -a %s\n",
                 argv[0]);
    return 1;
  }
  velmo::ui::qt::RunProgram(argc, argv, velmo::ui::qt::MainWindowOptions{});
}
