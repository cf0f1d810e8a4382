// What goes over the wire, byte for byte, for each kind of request.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "web/http_request.h"

namespace velmo::web {
namespace {

using text::Text;

constexpr const char* kAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; KORVO; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";
constexpr const char* kAccept = "Accept: */*\r\n";
constexpr const char* kLanguage = "Accept-Language: zh-cn\r\n";
constexpr const char* kForm = "Content-Type: application/x-www-form-urlencoded\r\n";

struct WireCase {
  const char* name;
  const char* path;    // appended to the server's address
  const char* method;  // the method text given to FetchRawText
  const char* body;
  const char* verb;          // expected on the wire
  std::string header_lines;  // expected after the Referer line
  const char* sent_body;     // expected body bytes
};

// Names the row in failure messages instead of dumping its bytes.
void PrintTo(const WireCase& row, std::ostream* out) {
  *out << row.name;
}

class WireTest : public testing::TestWithParam<WireCase> {};

TEST_P(WireTest, SendsExactlyTheRequest) {
  const WireCase& c = GetParam();
  test::LoopbackServer server(test::ReplyBody("answer"));
  const std::string address = server.Url(c.path);

  EXPECT_EQ(FetchRawText(Text(address), Text(c.method), Text(c.body)).str(), "answer");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string expected = std::string(c.verb) + " " + c.path + " HTTP/1.1\r\n" +
                               "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n" +
                               "User-Agent: " + kAgent + "\r\n" + "Referer: " + address + "\r\n" +
                               c.header_lines + "\r\n" + c.sent_body;
  EXPECT_EQ(requests[0].raw, expected);
}

const std::string kAllFour = std::string(kAccept) + kLanguage + kForm;

INSTANTIATE_TEST_SUITE_P(
    Requests, WireTest,
    testing::Values(
        // A GET carries the Content-Type line too, and never the body it was given.
        WireCase{"Get", "/x?y=1", "", "ignored=1", "GET", kAllFour, ""},
        WireCase{"Post", "/create.php", "POST", "url=a%20b&shorturl=&opt=0", "POST",
                 kAllFour + "Content-Length: 25\r\n", "url=a%20b&shorturl=&opt=0"},
        WireCase{"PostEmptyBody", "/p", "POST", "", "POST", kAllFour + "Content-Length: 0\r\n", ""},
        // Only "POST" exactly posts.
        WireCase{"LowerCasePostIsGet", "/p", "post", "a=1", "GET", kAllFour, ""},
        // The address is searched with the header lines: a name in it drops
        // that line, and the stack adds none of its own instead.
        WireCase{"AcceptInAddress", "/x?h=Accept:1", "", "", "GET", std::string(kLanguage) + kForm,
                 ""},
        WireCase{"AcceptLanguageInAddress", "/x?Accept-Language:", "", "", "GET",
                 std::string(kAccept) + kForm, ""},
        WireCase{"ContentTypeInAddressPost", "/x?Content-Type:", "POST", "a=1", "POST",
                 std::string(kAccept) + kLanguage + "Content-Length: 3\r\n", "a=1"},
        WireCase{"AllThreeInAddress", "/x?Accept:&Accept-Language:&Content-Type:", "", "", "GET",
                 "", ""},
        // The search is case-sensitive: small letters suppress nothing.
        WireCase{"SmallLettersSuppressNothing", "/x?accept:&accept-language:&content-type:", "", "",
                 "GET", kAllFour, ""},
        // Every printable byte of the path goes out as it stands: dot segments, broken
        // escapes, and escapes in capitals (curl writes them small when it is given the
        // path or the query as a part of their own).
        WireCase{"PathAsItStands", "/a/../b/./c?x=../%zz&\"<>[\\]^`{|}~", "", "", "GET", kAllFour,
                 ""},
        WireCase{"EscapesKeepTheirCapitals", "/?url=http%3A%2F%2Fsrv%2F%E4%B8%AD&a=%2f", "", "",
                 "GET", kAllFour, ""}),
    [](const testing::TestParamInfo<WireCase>& row) { return row.param.name; });

// A fragment names a place within the page and is never part of a request, as
// with every HTTP client; the Referer keeps the address as it was given.
TEST(WireTest, FragmentStaysOutOfTheRequestLine) {
  test::LoopbackServer server(test::ReplyBody("ok"));
  const std::string address = server.Url("/x?a=1#frag");
  EXPECT_EQ(FetchRawText(Text(address)).str(), "ok");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/x?a=1");
  EXPECT_TRUE(requests[0].raw.find("Referer: " + address + "\r\n") != std::string::npos);
}

TEST(WireTest, HttpRequestMethodCodes) {
  test::LoopbackServer server(test::ReplyBody("ok"));
  const Text address(server.Url("/m"));
  EXPECT_EQ(HttpRequest(address, 1, "b=1").view(), "ok");
  EXPECT_EQ(HttpRequest(address, 0, "b=1").view(), "ok");
  EXPECT_EQ(HttpRequest(address, 2, "b=1").view(), "ok");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "b=1");
  for (int i : {1, 2}) {
    EXPECT_EQ(requests[static_cast<std::size_t>(i)].method, "GET");
    EXPECT_EQ(requests[static_cast<std::size_t>(i)].body, "");
    EXPECT_FALSE(requests[static_cast<std::size_t>(i)].HasHeader("Content-Length"));
  }
}

// A path that cannot go out byte for byte, or a header line the address would
// break, is not sent at all rather than sent altered.
TEST(WireTest, UnwritableRequestsAreNotSent) {
  test::LoopbackServer server(test::ReplyBody("should not be asked"));
  const std::string base = server.Url("");
  const std::vector<std::string> addresses = {
      base + "/a b",
      base + "/\xD6\xD0",
      base + "/a\tb",
      base + "/a\x7F",
      // A line feed in the address (here before the host) would end the
      // Referer line early.
      "srv\n/?u=" + base + "/x",
      // A host that is no host name: curl would read "user@" as a user name and
      // connect to the server after it.
      "http://user@127.0.0.1:" + std::to_string(server.port()) + "/x",
      "http://127.0.0.1#a:" + std::to_string(server.port()) + "/x",
  };
  for (const std::string& address : addresses) {
    EXPECT_TRUE(HttpRequest(Text(address), 0, "").empty()) << address;
  }
  EXPECT_TRUE(server.Requests().empty());
}

// A query straight after the host stays in the host, whose port suffix then
// reads as the port: the request goes to the server's root, and the query
// survives only in the Referer.
TEST(WireTest, QueryRightAfterHostGoesToTheRoot) {
  test::LoopbackServer server(test::ReplyBody("root"));
  const std::string address = server.Url("") + "?x=1";
  EXPECT_EQ(HttpRequest(Text(address), 0, "").view(), "root");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/");
  EXPECT_EQ(requests[0].Header("Referer"), address);
}

// "srv:/x" has port 0, which means no port: the request goes to port 80.
TEST(WireTest, ColonWithoutDigitsGoesToTheDefaultPort) {
  std::unique_ptr<test::LoopbackServer> server;
  try {
    server = std::make_unique<test::LoopbackServer>(test::ReplyBody("port 80"), 80);
  } catch (const std::exception&) {
    GTEST_SKIP() << "127.0.0.1:80 is taken or not ours to bind";
  }
  EXPECT_EQ(HttpRequest(Text("http://127.0.0.1:/x"), 0, "").view(), "port 80");
  ASSERT_EQ(server->Requests().size(), 1u);
  EXPECT_EQ(server->Requests()[0].Header("Host"), "127.0.0.1");
}

// The system's proxy settings are not used: the request goes straight out.
TEST(WireTest, ProxyVariablesAreIgnored) {
  test::LoopbackServer server(test::ReplyBody("direct"));
  test::LoopbackServer proxy(test::ReplyBody("via proxy"));
  for (const char* name : {"http_proxy", "HTTPS_PROXY", "ALL_PROXY"}) {
    setenv(name, proxy.Url("").c_str(), 1);
  }
  const text::Bytes answer = HttpRequest(Text(server.Url("/")), 0, "");
  for (const char* name : {"http_proxy", "HTTPS_PROXY", "ALL_PROXY"}) unsetenv(name);
  EXPECT_EQ(answer.view(), "direct");
  EXPECT_TRUE(proxy.Requests().empty());
}

// A large form goes out whole and at once: no "Expect: 100-continue" pause.
TEST(WireTest, LargePostIsSentWithoutExpect) {
  test::LoopbackServer server(test::ReplyBody("taken"));
  const std::string body((std::size_t{1} << 20) + 1, 'f');
  EXPECT_EQ(HttpRequest(Text(server.Url("/big")), 1, Text(body)).view(), "taken");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_FALSE(requests[0].HasHeader("Expect"));
  EXPECT_EQ(requests[0].body, body);
}

// Cookies that a service sets on its way through a redirect come back to it
// within the request, and are gone for the next request.
TEST(WireTest, CookiesLiveForOneRequest) {
  test::Answer set_cookie;
  set_cookie.status = 302;
  set_cookie.headers = {{"Set-Cookie", "session=abc; Path=/"}, {"Location", "/check"}};
  test::LoopbackServer server(
      test::Route({{"/start", test::Reply(set_cookie)}, {"/check", test::ReplyBody("checked")}}));

  EXPECT_EQ(HttpRequest(Text(server.Url("/start")), 0, "").view(), "checked");
  EXPECT_EQ(HttpRequest(Text(server.Url("/check")), 0, "").view(), "checked");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].HasHeader("Cookie"));
  EXPECT_EQ(requests[1].Header("Cookie"), "session=abc");
  EXPECT_FALSE(requests[2].HasHeader("Cookie"));
}

// A POST answered by 302 or 303 is followed by a GET without the body; by 307
// the POST is repeated with its body. The fixed header lines go on every hop.
TEST(WireTest, RedirectedPost) {
  for (const int status : {302, 303, 307}) {
    test::LoopbackServer server(test::Route(
        {{"/form", test::RedirectTo("/done", status)}, {"/done", test::ReplyBody("done")}}));
    EXPECT_EQ(HttpRequest(Text(server.Url("/form")), 1, "a=1").view(), "done");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u) << status;
    EXPECT_EQ(requests[1].target, "/done");
    EXPECT_EQ(requests[1].method, status == 307 ? "POST" : "GET") << status;
    EXPECT_EQ(requests[1].body, status == 307 ? "a=1" : "") << status;
    EXPECT_EQ(requests[1].Header("Referer"), server.Url("/form"));
    EXPECT_EQ(requests[1].Header("Accept-Language"), "zh-cn");
  }
}

// Nine workers ask at once, as a conversion does; each gets its own answer.
TEST(WireTest, NineRequestsAtOnce) {
  test::LoopbackServer server([](const test::RecordedRequest& request, test::Connection& c) {
    test::Answer answer;
    answer.body = "for " + request.target;
    c.Send(test::AnswerBytes(answer));
  });
  std::vector<std::string> answers(9);
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < answers.size(); ++i) {
    workers.emplace_back([&, i] {
      answers[i] =
          std::string(HttpRequest(Text(server.Url("/slot" + std::to_string(i + 1))), 0, "").view());
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i], "for /slot" + std::to_string(i + 1));
  }
  EXPECT_EQ(server.ConnectionCount(), 9u);
}

}  // namespace
}  // namespace velmo::web
