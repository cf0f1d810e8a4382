// The real program closed while all nine of its requests are still waiting
// for an answer: it must end at once and cleanly, never waiting for them.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_server.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using velmo::test::Connection;
using velmo::test::LoopbackServer;
using velmo::test::RecordedRequest;

TEST(CloseTest, ClosingWithNineRequestsInFlightEndsTheProgramAtOnce) {
  // Services that take the request and never answer.
  std::array<std::unique_ptr<LoopbackServer>, 9> services;
  std::vector<std::string> arguments = {VELMO_CLOSE_PROBE};
  for (auto& service : services) {
    service = std::make_unique<LoopbackServer>(
        [](const RecordedRequest&, Connection& connection) { connection.WaitForStop(); });
    arguments.push_back(std::to_string(service->port()));
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int commands[2];
  ASSERT_EQ(::pipe(commands), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, commands[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, commands[1]);
  pid_t child = 0;
  ASSERT_EQ(::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(commands[0]);

  for (auto& service : services) {
    if (!service->WaitForRequests(1, 30s)) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      FAIL() << "the program did not ask all nine services";
    }
  }

  const auto asked = std::chrono::steady_clock::now();
  ASSERT_EQ(::write(commands[1], "close\n", 6), 6);
  int status = 0;
  pid_t ended = 0;
  // A hang, not a speed, is what this bound catches; the bench measures the time.
  while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() - asked < 2s) {
    std::this_thread::sleep_for(5ms);
  }
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - asked);
  ::close(commands[1]);
  if (ended == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    FAIL() << "still running " << took.count() << " ms after the close";
  }
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::printf("closed in %lld ms\n", static_cast<long long>(took.count()));
}

}  // namespace
