// The loopback server itself: whatever a client is doing, stopping the server
// returns promptly and leaves no thread behind.

#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

#include "tests/support/http_answers.h"
#include "web/http_request.h"

namespace velmo::test {
namespace {

using namespace std::chrono_literals;

int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  return fd;
}

template <typename Action>
std::chrono::steady_clock::duration Timed(Action action) {
  const auto start = std::chrono::steady_clock::now();
  action();
  return std::chrono::steady_clock::now() - start;
}

// A client that sent half a request head and waits; the server is blocked
// reading the rest.
TEST(LoopbackServerTest, StopsWhileARequestIsHalfSent) {
  LoopbackServer server(ReplyBody("never sent"));
  const int client = ConnectTo(server.port());
  const std::string half = "GET / HTTP/1.1\r\nHost: x\r\n";
  ASSERT_EQ(send(client, half.data(), half.size(), 0), static_cast<ssize_t>(half.size()));
  while (server.ConnectionCount() == 0) std::this_thread::sleep_for(1ms);
  EXPECT_LT(Timed([&] { server.Stop(); }), 1s);
  EXPECT_TRUE(server.Requests().empty());
  close(client);
}

// The handler is mid-way through an answer (dripping, or never answering)
// while the request routine waits for it on another thread.
TEST(LoopbackServerTest, StopsWhileHandlersAreBusy) {
  const Handler handlers[] = {
      [](const RecordedRequest&, Connection& c) { c.WaitForStop(); },
      [](const RecordedRequest&, Connection& c) {
        if (c.Send(AnswerHead(200, 1000))) c.Drip(std::string(1000, 'd'), 50ms);
      },
  };
  for (const Handler& handler : handlers) {
    LoopbackServer server(handler);
    auto answer = std::async(std::launch::async,
                             [&] { return web::HttpRequest(text::Text(server.Url("/")), 0, ""); });
    ASSERT_TRUE(server.WaitForRequests(1, 5s));
    EXPECT_LT(Timed([&] { server.Stop(); }), 1s);
    // The client sees the connection end and returns without its time-out.
    ASSERT_EQ(answer.wait_for(5s), std::future_status::ready);
    EXPECT_LT(answer.get().size(), 1000u);
  }
}

TEST(LoopbackServerTest, RecordsRequestsAndHeaders) {
  LoopbackServer server(ReplyBody("ok"));
  const int client = ConnectTo(server.port());
  const std::string request =
      "POST /p?q HTTP/1.1\r\nhost: x\r\nCONTENT-LENGTH:  4 \r\nX-Empty:\r\n\r\nbody"
      "GET /second HTTP/1.1\r\n\r\n";
  ASSERT_EQ(send(client, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
  ASSERT_TRUE(server.WaitForRequests(2, 5s));
  close(client);
  const auto requests = server.Requests();
  EXPECT_EQ(requests[0].raw, request.substr(0, request.find("GET")));
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/p?q");
  EXPECT_EQ(requests[0].body, "body");
  EXPECT_EQ(requests[0].Header("content-length"), "4");
  EXPECT_TRUE(requests[0].HasHeader("x-empty"));
  EXPECT_FALSE(requests[0].HasHeader("Accept"));
  EXPECT_EQ(requests[1].target, "/second");
}

}  // namespace
}  // namespace velmo::test
