// The window's figures, each measured in fresh child processes of this same
// executable so every start is a cold Qt start:
//   start   — process start to the window's first expose, Velmo's window
//             against a bare QWidget of the same size;
//   memory  — PSS of the whole process tree (web engine helpers included) with
//             the web view made, against a bare window holding one web view;
//   stall   — the longest gap between 1 ms timer ticks on the user-interface
//             thread while conversions run against nine loopback services.
// Run it under QT_QPA_PLATFORM=offscreen. Nothing here is a test.
#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ui/close_timing.h"
#include "bench/ui/stall_probe.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class ExposeWatch : public QObject {
 public:
  explicit ExposeWatch(bool stay) : stay_(stay) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!said_ && event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      said_ = true;
      std::printf("shown\n");
      std::fflush(stdout);
      if (!stay_) std::_Exit(0);
    }
    return false;
  }

 private:
  bool stay_;
  bool said_ = false;
};

// Child: show the window, say so on stdout at the first expose, then either
// leave at once or sit still until killed (for the memory figure).
int Child(const std::string& what, bool stay) {
  velmo::ui::qt::PrepareApplication();
  int argc = 1;
  char name[] = "velmo_ui_bench";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  QWidget* window = nullptr;
  if (what == "velmo") {
    velmo::ui::qt::MainWindowOptions options;
    options.create_web_view = true;  // made after the first expose, as in the program
    window = new velmo::ui::qt::MainWindow(std::move(options));
  } else {
    window = new QWidget;
    window->resize(677, 465);
    if (what == "bareweb") {
      auto* view = new QWebEngineView(window);
      view->setGeometry(-16, 184, 1350, 3500);
    }
  }
  // Shown means exposed (and so painted), for both windows alike.
  window->winId();
  ExposeWatch watch(stay);
  window->windowHandle()->installEventFilter(&watch);
  window->show();
  return application.exec();
}

pid_t Spawn(const char* self, const std::vector<std::string>& arguments, int& out) {
  std::vector<std::string> all = {self};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  pid_t child = -1;
  if (::posix_spawn(&child, self, &actions, nullptr, argv.data(), environ) != 0) child = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  out = pipe_fds[0];
  return child;
}

bool WaitForLine(int fd) {
  char c = 0;
  while (::read(fd, &c, 1) == 1) {
    if (c == '\n') return true;
  }
  return false;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double StartMs(const char* self, const std::string& what) {
  int out = -1;
  const auto start = Clock::now();
  const pid_t child = Spawn(self, {"child", what}, out);
  const bool shown = WaitForLine(out);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  ::close(out);
  ::waitpid(child, nullptr, 0);
  return shown ? ms : -1;
}

// The process and all its descendants, found by walking /proc.
std::vector<pid_t> Tree(pid_t root) {
  std::vector<std::pair<pid_t, pid_t>> parents;
  if (DIR* proc = ::opendir("/proc")) {
    while (dirent* entry = ::readdir(proc)) {
      const pid_t pid = std::atoi(entry->d_name);
      if (pid <= 0) continue;
      std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
      std::string line;
      std::getline(stat, line);
      const auto paren = line.rfind(')');
      if (paren == std::string::npos) continue;
      std::istringstream rest(line.substr(paren + 2));
      char state = 0;
      pid_t parent = 0;
      rest >> state >> parent;
      parents.emplace_back(pid, parent);
    }
    ::closedir(proc);
  }
  std::vector<pid_t> tree = {root};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    for (const auto& [pid, parent] : parents) {
      if (parent == tree[i]) tree.push_back(pid);
    }
  }
  return tree;
}

long PssKiB(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string key;
  long value = 0;
  while (rollup >> key) {
    if (key == "Pss:") {
      rollup >> value;
      return value;
    }
  }
  return 0;
}

void Memory(const char* self, const std::string& what, long& pss, std::size_t& processes) {
  int out = -1;
  const pid_t child = Spawn(self, {"child", what, "stay"}, out);
  WaitForLine(out);
  // Long enough for the web engine's helper processes to start and settle.
  ::sleep(6);
  pss = 0;
  const std::vector<pid_t> tree = Tree(child);
  for (pid_t pid : tree) pss += PssKiB(pid);
  processes = tree.size();
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(out);
  ::sleep(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "close-child") == 0)
    velmo::bench::RunCloseChild(argc, argv);
  if (argc >= 3 && std::strcmp(argv[1], "child") == 0) {
    return Child(argv[2], argc >= 4 && std::strcmp(argv[3], "stay") == 0);
  }
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 11;

  std::vector<double> velmo_starts, bare_starts;
  for (int i = 0; i < runs; ++i) {
    bare_starts.push_back(StartMs(argv[0], "bare"));
    velmo_starts.push_back(StartMs(argv[0], "velmo"));
  }
  const double velmo_ms = Median(velmo_starts), bare_ms = Median(bare_starts);
  std::printf("start to shown, median of %d: velmo %.1f ms, bare QWidget %.1f ms, ratio %.2f\n",
              runs, velmo_ms, bare_ms, velmo_ms / bare_ms);

  long velmo_pss = 0, bare_pss = 0;
  std::size_t velmo_processes = 0, bare_processes = 0;
  Memory(argv[0], "velmo", velmo_pss, velmo_processes);
  Memory(argv[0], "bareweb", bare_pss, bare_processes);
  std::printf(
      "process tree PSS: velmo %ld KiB (%zu processes), bare window + web view %ld KiB "
      "(%zu processes), ratio %.3f\n",
      velmo_pss, velmo_processes, bare_pss, bare_processes,
      static_cast<double>(velmo_pss) / static_cast<double>(bare_pss));

  std::vector<double> closes = velmo::bench::MeasureCloseTimes(argv[0], runs);
  std::printf(
      "Escape to process end, nine requests in flight, %d runs: median %.1f ms, "
      "longest %.1f ms (-1: did not end)\n",
      runs, Median(closes), *std::max_element(closes.begin(), closes.end()));

  const velmo::bench::StallFigures stalls = velmo::bench::MeasureStalls(argc, argv);
  std::printf(
      "UI-thread stalls over %d conversions of nine services: longest %.2f ms, "
      "99th percentile %.2f ms; idle window, same span: longest %.2f ms\n",
      stalls.conversions, stalls.longest_ms, stalls.p99_ms, stalls.idle_longest_ms);
  return 0;
}
