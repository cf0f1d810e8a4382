#include "bench/ui/close_timing.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTest>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/loopback_server.h"
#include "ui/qt/program.h"
#include "ui/window_description.h"

extern char** environ;

namespace velmo::bench {

void RunCloseChild(int argc, char** argv) {
  ui::qt::MainWindowOptions options;
  // argv: self, "close-child", nine ports.
  for (int i = 2; i < argc && i - 2 < core::kServiceCount; ++i) {
    options.catalogue[static_cast<std::size_t>(i - 2)].endpoint_base =
        text::Text(std::string("http://127.0.0.1:") + argv[i]);
  }
  ui::qt::RunProgram(argc, argv, std::move(options), [](ui::qt::MainWindow& window) {
    qobject_cast<QAbstractButton*>(window.Control(ui::names::ConvertButton()))->click();
    auto* commands = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
    QObject::connect(commands, &QSocketNotifier::activated, &window, [&window] {
      char buffer[16];
      (void)::read(STDIN_FILENO, buffer, sizeof buffer);
      QWidget* target = QApplication::focusWidget();
      QTest::keyClick(target != nullptr ? target : &window, Qt::Key_Escape);
    });
  });
}

std::vector<double> MeasureCloseTimes(const char* self, int runs) {
  using namespace std::chrono_literals;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    std::array<std::unique_ptr<test::LoopbackServer>, 9> services;
    std::vector<std::string> arguments = {self, "close-child"};
    for (auto& service : services) {
      service = std::make_unique<test::LoopbackServer>(
          [](const test::RecordedRequest&, test::Connection& connection) {
            connection.WaitForStop();
          });
      arguments.push_back(std::to_string(service->port()));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int commands[2];
    if (::pipe(commands) != 0) break;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, commands[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, commands[1]);
    pid_t child = -1;
    const bool spawned = ::posix_spawn(&child, self, &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(commands[0]);
    if (!spawned) break;
    bool all_asked = true;
    for (auto& service : services) all_asked = all_asked && service->WaitForRequests(1, 30s);
    const auto asked = std::chrono::steady_clock::now();
    (void)::write(commands[1], "close\n", 6);
    int status = 0;
    pid_t ended = 0;
    while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() - asked < 5s) {
      std::this_thread::sleep_for(1ms);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - asked).count();
    if (ended == 0) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
    }
    ::close(commands[1]);
    times.push_back(ended != 0 && all_asked && WIFEXITED(status) ? ms : -1);
  }
  return times;
}

}  // namespace velmo::bench
