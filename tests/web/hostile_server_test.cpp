// Servers that misbehave in every way we could think of. Each case states what
// the request routine gives back and how long it may take at most; the
// time-outs are shortened for the run so that the waiting cases stay quick.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "web/http_request.h"
#include "web/transport_settings.h"

namespace velmo::web {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using text::Text;

enum class Target { kServer, kClosedPort, kUnresolvable };

struct HostileCase {
  const char* name;
  // The server's handler; `other` is the address of a second loopback server
  // that answers "other host", for redirects that leave the first one.
  std::function<test::Handler(const std::string& other)> handler;
  std::string path;
  std::string bytes;                   // what HttpRequest gives
  bool cut_short = false;              // instead: a non-empty proper beginning of bytes
  std::optional<std::string> raw;      // what FetchRawText gives, when checked
  std::optional<std::string> decoded;  // what FetchDecodedText gives, when checked
  milliseconds bound = 1000ms;
  Target target = Target::kServer;

  HostileCase CutShort() const {
    return With([](HostileCase& c) { c.cut_short = true; });
  }
  HostileCase Raw(std::string text) const {
    return With([&](HostileCase& c) { c.raw = text; });
  }
  HostileCase Decoded(std::string text) const {
    return With([&](HostileCase& c) { c.decoded = text; });
  }
  HostileCase Within(milliseconds time) const {
    return With([&](HostileCase& c) { c.bound = time; });
  }
  HostileCase At(Target where) const {
    return With([&](HostileCase& c) { c.target = where; });
  }

 private:
  template <typename Change>
  HostileCase With(Change change) const {
    HostileCase copy = *this;
    change(copy);
    return copy;
  }
};

HostileCase Case(const char* name, std::function<test::Handler(const std::string&)> handler,
                 std::string path, std::string bytes) {
  HostileCase c;
  c.name = name;
  c.handler = std::move(handler);
  c.path = std::move(path);
  c.bytes = std::move(bytes);
  return c;
}

std::string Pattern(std::size_t length) {
  std::string bytes;
  for (std::size_t i = 0; i < length; ++i) bytes += static_cast<char>('a' + i % 26);
  return bytes;
}

std::function<test::Handler(const std::string&)> Fixed(test::Handler handler) {
  return [handler](const std::string&) { return handler; };
}

std::function<test::Handler(const std::string&)> Body(std::string body, int status = 200,
                                                      std::size_t chunk_size = 0) {
  test::Answer answer;
  answer.status = status;
  answer.body = std::move(body);
  answer.chunk_size = chunk_size;
  return Fixed(test::Reply(answer));
}

// Sends the bytes, gives the client time to take them, then ends the
// connection with a reset or an orderly close.
std::function<test::Handler(const std::string&)> SendThen(std::string bytes, bool reset) {
  return Fixed([bytes, reset](const test::RecordedRequest&, test::Connection& c) {
    if (!c.Send(bytes) || !c.Pause(100ms)) return;
    reset ? c.Reset() : c.Close();
  });
}

std::function<test::Handler(const std::string&)> Endless(std::string head, std::string block) {
  return Fixed([head, block](const test::RecordedRequest&, test::Connection& c) {
    if (!c.Send(head)) return;
    while (c.Send(block)) {
    }
  });
}

const std::string kNulBody = std::string("a%20b%41c") + '\0' + "%42tail";

const HostileCase kCases[] = {
    Case("EmptyBody", Body(""), "/", ""),
    Case("Body1023", Body(Pattern(1023)), "/", Pattern(1023)),
    Case("Body1024", Body(Pattern(1024)), "/", Pattern(1024)),
    Case("Body1025", Body(Pattern(1025)), "/", Pattern(1025)),
    // The routine keeps the zero byte; the text entry points stop before it.
    Case("NulAsTenthByte", Body(kNulBody), "/", kNulBody).Raw("a%20b%41c").Decoded("a bAc"),
    Case("LeadingNul", Body(std::string("\0x", 2)), "/", std::string("\0x", 2)).Raw("").Decoded(""),
    Case("NotFoundBody", Body("gone", 404), "/", "gone"),
    Case("ServerErrorBody", Body("broken", 500), "/", "broken"),
    Case("Chunked", Body(Pattern(3000), 200, 100), "/", Pattern(3000)),
    Case("OneByteChunks", Body(Pattern(50), 200, 1), "/", Pattern(50)),
    Case("CloseDelimited", SendThen("HTTP/1.0 200 OK\r\n\r\nuntil the end", false), "/",
         "until the end"),
    Case("InterimContinue", Fixed([](const test::RecordedRequest&, test::Connection& c) {
           c.Send("HTTP/1.1 100 Continue\r\n\r\n" + test::AnswerBytes({200, {}, "after", 0}));
         }),
         "/", "after"),
    Case("ConnectionRefused", Body("unreachable"), "/", "").At(Target::kClosedPort),
    Case("ResetBeforeAnswer",
         Fixed([](const test::RecordedRequest&, test::Connection& c) { c.Reset(); }), "/", ""),
    // Bytes that arrived before the break are the answer.
    Case("ResetAfterSomeBytes", SendThen(test::AnswerHead(200, 100) + Pattern(40), true), "/",
         Pattern(40)),
    Case("ClosedShortOfLength", SendThen(test::AnswerHead(200, 100) + Pattern(40), false), "/",
         Pattern(40)),
    Case("ResetMidChunked",
         SendThen(test::AnswerHead(200, -1, {{"Transfer-Encoding", "chunked"}}) + "1e\r\n" +
                      Pattern(30) + "\r\n",
                  true),
         "/", Pattern(30)),
    Case("NeverAnswers",
         Fixed([](const test::RecordedRequest&, test::Connection& c) { c.WaitForStop(); }), "/", "")
        .Within(2500ms),
    Case("HeadThenSilence", Fixed([](const test::RecordedRequest&, test::Connection& c) {
           if (c.Send(test::AnswerHead(200, 10))) c.WaitForStop();
         }),
         "/", "")
        .Within(2500ms),
    Case("SlowDrip", Fixed([](const test::RecordedRequest&, test::Connection& c) {
           if (c.Send(test::AnswerHead(200, 10))) c.Drip("drip-drop!", 30ms);
         }),
         "/", "drip-drop!"),
    Case("DripPastTimeOut", Fixed([](const test::RecordedRequest&, test::Connection& c) {
           if (c.Send(test::AnswerHead(200, 200))) c.Drip(Pattern(200), 20ms);
         }),
         "/", Pattern(200))
        .CutShort()
        .Within(2500ms),
    // Past the cap the request counts as failed: nothing, not the first MiBs.
    Case("EndlessBody",
         Endless("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", std::string(65536, 'x')), "/", "")
        .Within(5000ms),
    Case("AtCap", Body(std::string(std::size_t{4} << 20, 'y')), "/",
         std::string(std::size_t{4} << 20, 'y'))
        .Within(5000ms),
    Case("OverCapWithLength", Body(std::string((std::size_t{4} << 20) + 1, 'y')), "/", "")
        .Within(5000ms),
    Case("EndlessHeaders", Endless("HTTP/1.1 200 OK\r\n", "X-Padding: yes\r\n"), "/", "")
        .Within(2500ms),
    Case("NotHttp", SendThen("hello, this is no HTTP answer\r\n\r\n", false), "/", ""),
    Case("RedirectChain",
         Fixed(test::Route({{"/r1", test::RedirectTo("/r2", 301)},
                            {"/r2", test::RedirectTo("/r3", 302)},
                            {"/r3", test::RedirectTo("/end", 307)},
                            {"/end", test::ReplyBody("end")}})),
         "/r1", "end"),
    Case("RedirectLoop", Fixed(test::RedirectTo("/loop")), "/loop", ""),
    Case(
        "RedirectToOtherHost",
        [](const std::string& other) { return test::RedirectTo(other + "/there"); }, "/",
        "other host"),
    // Redirects go to http and https only, never to a local file.
    Case("RedirectToFile", Fixed(test::RedirectTo("file:///etc/hostname")), "/", ""),
    Case("UnresolvableHost", Body("unreachable"), "/", "").At(Target::kUnresolvable).Within(2500ms),
    // Every "%" starts an escape; bytes that are not UTF-8 come back as "?".
    Case("BadEscapesDecoded", Body("5%xy|%G1|%"), "/", "5%xy|%G1|%").Decoded("5?|?|"),
    Case("Utf8Decoded", Body("%E4%B8%AD+%e4%b8%ad"), "/", "%E4%B8%AD+%e4%b8%ad")
        .Decoded("\xD6\xD0+\xD6\xD0"),
    Case("InvalidUtf8Decoded", Body("\xFF\xFE ok"), "/", "\xFF\xFE ok").Decoded("?? ok"),
};

int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

TransportSettings QuickSettings() {
  TransportSettings settings;
  settings.connect_timeout = 1000ms;
  settings.total_timeout = 1500ms;
  return settings;
}

// Names the row in failure messages instead of dumping its bytes.
void PrintTo(const HostileCase& row, std::ostream* out) {
  *out << row.name;
}

class HostileServerTest : public testing::TestWithParam<HostileCase> {
 protected:
  ScopedTransportSettings settings_{QuickSettings()};
};

TEST_P(HostileServerTest, GivesTheExpectedResultInTime) {
  const HostileCase& c = GetParam();
  test::LoopbackServer other(test::ReplyBody("other host"));
  test::LoopbackServer server(c.handler(other.Url("")));
  std::string address = server.Url(c.path);
  if (c.target == Target::kClosedPort) {
    address = "http://127.0.0.1:" + std::to_string(ClosedPort()) + c.path;
  } else if (c.target == Target::kUnresolvable) {
    address = "http://velmo-test.invalid" + c.path;
  }

  const auto start = std::chrono::steady_clock::now();
  const text::Bytes bytes = HttpRequest(Text(address), 0, "");
  const auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_LT(elapsed, c.bound);
  if (c.cut_short) {
    EXPECT_FALSE(bytes.empty());
    EXPECT_LT(bytes.size(), c.bytes.size());
    EXPECT_EQ(bytes.view(), std::string_view(c.bytes).substr(0, bytes.size()));
  } else {
    EXPECT_EQ(bytes.view(), c.bytes);
  }
  if (c.raw) {
    EXPECT_EQ(FetchRawText(Text(address)).str(), *c.raw);
  }
  if (c.decoded) {
    EXPECT_EQ(FetchDecodedText(Text(address)).str(), *c.decoded);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServerTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostileCase>& row) {
                           return std::string(row.param.name);
                         });

// The loop ends after ten redirects: the first request and ten more.
TEST(RedirectLimitTest, FollowsAtMostTenRedirects) {
  test::LoopbackServer server(test::RedirectTo("/loop"));
  EXPECT_TRUE(HttpRequest(Text(server.Url("/loop")), 0, "").empty());
  EXPECT_EQ(server.Requests().size(), 11u);
}

}  // namespace
}  // namespace velmo::web
