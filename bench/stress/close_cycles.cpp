// Start, convert, close, many times over: the real program (this executable
// in its "child" role, built from the same RunProgram) starts against the
// nine fake services, which answer each request after 300 to 800 ms, clicks
// convert once its window is up, and is closed with Escape at a random moment
// while the answers come in. For every cycle the parent times the close,
// checks the exit, and watches the program's helper processes (the web
// engine's) go: this process is their subreaper, so any helper that outlives
// the program becomes its child and is seen, timed and reaped here.
//
// Usage: QT_QPA_PLATFORM=offscreen velmo_bench_close_cycles [cycles]
// Nothing here is a test; the figures are printed.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/support/fake_services.h"
#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "ui/qt/program.h"
#include "ui/window_description.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double MillisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The child's descriptor for the time it saw the Escape.
constexpr int kReportFd = 3;

// argv: self, "child", advertising page address, nine service bases.
[[noreturn]] void RunChild(int argc, char** argv) {
  using namespace velmo;
  ui::qt::MainWindowOptions options;
  for (int i = 3; i < argc && i - 3 < core::kServiceCount; ++i) {
    options.catalogue[static_cast<std::size_t>(i - 3)].endpoint_base = text::Text(argv[i]);
  }
  const text::Text advert(argv[2]);
  ui::qt::RunProgram(argc, argv, std::move(options), [advert](ui::qt::MainWindow& window) {
    // The web view loads a page of ours, never one outside the machine.
    for (const text::Text& holder :
         {ui::names::AdvertOnConvert(), ui::names::AdvertOnChange(), ui::names::AdvertOnClear()}) {
      window.WriteText(holder, advert);
    }
    window.WriteText(ui::names::AddressBox(), "http://velmo.example/a/long/address?with=query");
    qobject_cast<QAbstractButton*>(window.Control(ui::names::ConvertButton()))->click();
    auto* commands = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
    QObject::connect(commands, &QSocketNotifier::activated, &window, [&window, commands] {
      // When the user-interface thread got to the Escape, for the parent to
      // tell a busy thread from a slow ending.
      const long long seen =
          std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
              .count();
      (void)::write(kReportFd, &seen, sizeof seen);
      char buffer[16];
      if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) commands->setEnabled(false);
      QWidget* target = QApplication::focusWidget();
      QTest::keyClick(target != nullptr ? target : &window, Qt::Key_Escape);
    });
  });
}

// Live processes whose parent is this one (zombies are reaped on the way).
std::vector<pid_t> OwnChildren() {
  while (::waitpid(-1, nullptr, WNOHANG) > 0) {
  }
  std::vector<pid_t> children;
  const pid_t self = ::getpid();
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return children;
  while (const dirent* entry = ::readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (name) state ppid ...: the name may hold spaces, so read after ')'.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) != 2) continue;
    if (parent == self && state != 'Z') children.push_back(pid);
  }
  ::closedir(proc);
  return children;
}

// Where a program that is ending still waits: for each of its remaining
// threads the first kernel frame below the exit path that names a cause (the
// kernel stack, readable as root), or the wait channel.
std::string WhereItWaits(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = ::opendir(tasks.c_str());
  if (dir == nullptr) return "gone";
  std::string where;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string task = tasks + "/" + entry->d_name;
    std::ifstream stack(task + "/stack");
    std::string frame;
    std::string cause;
    while (std::getline(stack, frame)) {
      // "[<0>] inotify_release+0xe/0x20": the name between "] " and "+".
      const std::size_t start = frame.find("] ");
      const std::size_t end = frame.find('+');
      if (start == std::string::npos || end == std::string::npos || end < start) continue;
      const std::string name = frame.substr(start + 2, end - start - 2);
      if (name.find("release") != std::string::npos || name.find("_exit") != std::string::npos ||
          name.find("exit_") != std::string::npos) {
        cause = name;
        break;
      }
      if (cause.empty()) cause = name;
    }
    if (cause.empty()) std::getline(std::ifstream(task + "/wchan") >> std::ws, cause);
    // A thread that has already ended shows a wait channel of "0".
    if (!cause.empty() && cause != "0" && where.find(cause) == std::string::npos) {
      where += (where.empty() ? "" : ",") + cause;
    }
  }
  ::closedir(dir);
  return where.empty() ? "?" : where;
}

struct Cycle {
  double start_to_asked_ms = -1;  // spawn until all nine services had the request
  double escape_at_ms = -1;       // spawn until the Escape was asked for
  double close_ms = -1;           // Escape until waitpid saw the program gone
  double seen_ms = -1;            // Escape until the program's user-interface thread saw it
  std::string waited_in;          // where it still was 100 ms after the Escape, if it was
  bool exited_zero = false;
  int signal = 0;
  std::size_t helpers_at_exit = 0;  // helper processes still alive when it was gone
  double helpers_gone_ms = 0;       // from the program's end until the last of them went
  std::size_t leftovers = 0;        // helpers still alive 5 s after the program's end
};

struct Summary {
  double median;
  double p95;
  double max;
};

Summary Summarise(std::vector<double> values) {
  if (values.empty()) return {0, 0, 0};
  std::sort(values.begin(), values.end());
  const auto at = [&](double q) {
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
  };
  return {at(0.5), at(0.95), values.back()};
}

int RunParent(const char* self, int cycles) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  if (::prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
    std::perror("prctl(PR_SET_CHILD_SUBREAPER)");
    return 1;
  }
  if (!OwnChildren().empty()) {
    std::puts("this process already has children; start it on its own");
    return 1;
  }

  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> delay_ms(300, 800);
  std::uniform_int_distribution<int> close_after_ms(0, 700);
  velmo::test::FakeServices fakes;
  for (int n = 1; n <= velmo::core::kServiceCount; ++n) {
    std::vector<std::chrono::milliseconds> delays(static_cast<std::size_t>(cycles));
    for (auto& delay : delays) delay = std::chrono::milliseconds(delay_ms(random));
    fakes.SetDelays(n, std::move(delays));
  }
  velmo::test::LoopbackServer advert(
      velmo::test::ReplyBody("<html><body><h1>advert</h1></body></html>"));

  std::vector<std::string> arguments = {self, "child", advert.Url("/?wzzh")};
  for (const auto& slot : fakes.Catalogue()) arguments.push_back(slot.endpoint_base.str());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const std::string child_log =
      (std::filesystem::temp_directory_path() / "velmo_close_cycles_child.log").string();
  std::ofstream(child_log, std::ios::trunc).close();
  std::printf("the program's error output goes to %s\n", child_log.c_str());

  std::vector<Cycle> results;
  for (int cycle = 0; cycle < cycles; ++cycle) {
    Cycle result;
    int commands[2];
    int report[2];
    if (::pipe(commands) != 0 || ::pipe(report) != 0) return std::perror("pipe"), 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commands[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, commands[1]);
    posix_spawn_file_actions_adddup2(&actions, report[1], kReportFd);
    posix_spawn_file_actions_addclose(&actions, report[0]);
    // The web engine talks a lot on its error output; it goes to a file.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, child_log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t child = -1;
    const auto spawned_at = Clock::now();
    const int spawned = ::posix_spawn(&child, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(commands[0]);
    ::close(report[1]);
    if (spawned != 0) return std::puts("posix_spawn failed"), 1;

    const std::size_t asked =
        static_cast<std::size_t>(velmo::core::kServiceCount) * static_cast<std::size_t>(cycle + 1);
    if (fakes.WaitForRequests(asked, 30s)) result.start_to_asked_ms = MillisSince(spawned_at);
    // Some answers arrive before the close, some while it happens, some after.
    std::this_thread::sleep_for(std::chrono::milliseconds(close_after_ms(random)));

    const auto close_at = Clock::now();
    result.escape_at_ms = MillisSince(spawned_at);
    (void)::write(commands[1], "close\n", 6);
    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && Clock::now() - close_at < 5s) {
      if (result.waited_in.empty() && Clock::now() - close_at > 100ms) {
        result.waited_in = WhereItWaits(child);
      }
      std::this_thread::sleep_for(200us);
    }
    const auto gone_at = Clock::now();
    if (ended == child) {
      result.close_ms = std::chrono::duration<double, std::milli>(gone_at - close_at).count();
      result.exited_zero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    } else {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    ::close(commands[1]);
    long long seen = 0;
    if (::read(report[0], &seen, sizeof seen) == sizeof seen) {
      const auto seen_at = Clock::time_point(std::chrono::microseconds(seen));
      result.seen_ms = std::chrono::duration<double, std::milli>(seen_at - close_at).count();
    }
    ::close(report[0]);

    result.helpers_at_exit = OwnChildren().size();
    std::vector<pid_t> helpers;
    while (!(helpers = OwnChildren()).empty() && Clock::now() - gone_at < 5s) {
      std::this_thread::sleep_for(1ms);
    }
    result.helpers_gone_ms = MillisSince(gone_at);
    result.leftovers = helpers.size();
    for (const pid_t helper : helpers) ::kill(helper, SIGKILL);
    while (!OwnChildren().empty()) std::this_thread::sleep_for(1ms);

    std::printf(
        "cycle %3d: start+convert %.0f ms, Escape at %.0f ms, seen after %.1f ms, close %.1f "
        "ms%s%s, "
        "exit %s, helpers at exit %zu, gone after %.1f ms, left over %zu\n",
        cycle + 1, result.start_to_asked_ms, result.escape_at_ms, result.seen_ms, result.close_ms,
        result.waited_in.empty() ? "" : " waiting in ", result.waited_in.c_str(),
        result.exited_zero ? "0" : (result.signal != 0 ? "signal" : "other"),
        result.helpers_at_exit, result.helpers_gone_ms, result.leftovers);
    std::fflush(stdout);
    results.push_back(result);
  }

  std::vector<double> close_times;
  std::vector<double> start_times;
  std::vector<double> helper_times;
  int clean = 0;
  int over_200 = 0;
  int with_helpers = 0;
  std::size_t leftovers = 0;
  std::vector<double> seen_times;
  std::map<std::string, int> waits;
  for (const Cycle& c : results) {
    if (c.seen_ms >= 0) seen_times.push_back(c.seen_ms);
    if (!c.waited_in.empty()) ++waits[c.waited_in];
    if (c.close_ms >= 0) close_times.push_back(c.close_ms);
    if (c.start_to_asked_ms >= 0) start_times.push_back(c.start_to_asked_ms);
    if (c.helpers_at_exit > 0) {
      ++with_helpers;
      helper_times.push_back(c.helpers_gone_ms);
    }
    if (c.exited_zero && c.leftovers == 0) ++clean;
    if (c.close_ms < 0 || c.close_ms >= 200) ++over_200;
    leftovers += c.leftovers;
  }
  const Summary close = Summarise(close_times);
  const Summary start = Summarise(start_times);
  const Summary helper = Summarise(helper_times);
  std::printf(
      "\n%d cycles: %d clean (exit code 0, no process left over), %d closes at or over "
      "200 ms (or not at all)\n",
      cycles, clean, over_200);
  std::printf("close (Escape -> gone): median %.1f ms, p95 %.1f ms, max %.1f ms\n", close.median,
              close.p95, close.max);
  const Summary seen = Summarise(seen_times);
  std::printf(
      "Escape -> seen on the user-interface thread: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
      seen.median, seen.p95, seen.max);
  for (const auto& [where, count] : waits) {
    std::printf("still there 100 ms after the Escape, waiting in %s: %d\n", where.c_str(), count);
  }
  std::printf("start -> nine requests: median %.0f ms, p95 %.0f ms, max %.0f ms\n", start.median,
              start.p95, start.max);
  std::printf(
      "cycles with helpers alive at the program's end: %d; they went after median %.1f "
      "ms, p95 %.1f ms, max %.1f ms; left over after 5 s: %zu\n",
      with_helpers, helper.median, helper.p95, helper.max, leftovers);
  std::printf("requests %zu, request faults %zu\n", fakes.TotalRequests(), fakes.Faults().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "child") == 0) RunChild(argc, argv);
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 100;
  return RunParent(argv[0], cycles > 0 ? cycles : 100);
}
