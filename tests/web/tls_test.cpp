// https: certificates are verified, and a server whose authority is trusted
// answers like any other. The authorities are made for each run.

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "tests/support/test_tls.h"
#include "web/http_request.h"
#include "web/transport_settings.h"

namespace velmo::web {
namespace {

using namespace std::chrono_literals;
using text::Text;

class TlsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    trusted_ = new test::TestAuthority(test::MakeTestAuthority("trusted"));
    stranger_ = new test::TestAuthority(test::MakeTestAuthority("stranger"));
    ca_file_ = new test::TempFile(trusted_->certificate_pem);
  }
  static void TearDownTestSuite() {
    delete ca_file_;
    delete stranger_;
    delete trusted_;
  }

  static TransportSettings Trusting() {
    TransportSettings settings;
    settings.connect_timeout = 2000ms;
    settings.total_timeout = 3000ms;
    settings.trusted_ca_file = ca_file_->path();
    return settings;
  }

  static test::TestAuthority* trusted_;
  static test::TestAuthority* stranger_;
  static test::TempFile* ca_file_;
};

test::TestAuthority* TlsTest::trusted_ = nullptr;
test::TestAuthority* TlsTest::stranger_ = nullptr;
test::TempFile* TlsTest::ca_file_ = nullptr;

// The scheme is recognised in any letter case, and the exchange is the same
// request as over plain http.
TEST_F(TlsTest, TrustedServerAnswers) {
  const ScopedTransportSettings trust(Trusting());
  test::LoopbackServer server(test::ReplyBody("secure answer"), trusted_->server);
  const std::string port = std::to_string(server.port());
  for (const std::string scheme : {"https", "HTTPS", "HtTpS"}) {
    const std::string address = scheme + "://127.0.0.1:" + port + "/s?q=1";
    EXPECT_EQ(FetchRawText(Text(address), "POST", "a=1").str(), "secure answer") << scheme;
  }
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].raw.substr(0, requests[0].raw.find("\r\n")), "POST /s?q=1 HTTP/1.1");
  EXPECT_EQ(requests[0].body, "a=1");
  EXPECT_EQ(requests[2].Header("Referer"), "HtTpS://127.0.0.1:" + port + "/s?q=1");
}

// Without the test authority the server is trusted by nothing: the empty
// result proves that verification is on by default.
TEST_F(TlsTest, UntrustedServerGivesNothing) {
  TransportSettings quick;
  quick.total_timeout = 3000ms;
  const ScopedTransportSettings settings(quick);
  test::LoopbackServer server(test::ReplyBody("should not be read"), trusted_->server);
  EXPECT_TRUE(HttpRequest(Text(server.Url("/")), 0, "").empty());
  EXPECT_TRUE(server.Requests().empty());
}

// Trusting one authority does not extend to a server of another.
TEST_F(TlsTest, ServerOfAnotherAuthorityGivesNothing) {
  const ScopedTransportSettings trust(Trusting());
  test::LoopbackServer server(test::ReplyBody("should not be read"), stranger_->server);
  EXPECT_TRUE(HttpRequest(Text(server.Url("/")), 0, "").empty());
  EXPECT_TRUE(server.Requests().empty());
}

// A plain address redirected to https is followed, and so is the way back.
TEST_F(TlsTest, RedirectsBetweenHttpAndHttps) {
  const ScopedTransportSettings trust(Trusting());
  test::LoopbackServer secure(test::Route({{"/final", test::ReplyBody("via https")}}),
                              trusted_->server);
  test::LoopbackServer plain(test::Route({{"/start", test::RedirectTo(secure.Url("/final"))},
                                          {"/back", test::ReplyBody("back on http")}}));
  EXPECT_EQ(HttpRequest(Text(plain.Url("/start")), 0, "").view(), "via https");

  test::LoopbackServer secure_start(test::RedirectTo(plain.Url("/back")), trusted_->server);
  EXPECT_EQ(HttpRequest(Text(secure_start.Url("/")), 0, "").view(), "back on http");
}

// An https address speaks TLS even to a server that does not: the plain
// answer never comes back.
TEST_F(TlsTest, HttpsAddressSpeaksTls) {
  const ScopedTransportSettings trust(Trusting());
  test::LoopbackServer plain(test::ReplyBody("plain answer"));
  const std::string address = "https://127.0.0.1:" + std::to_string(plain.port()) + "/";
  EXPECT_TRUE(HttpRequest(Text(address), 0, "").empty());
  EXPECT_TRUE(plain.Requests().empty());
}

}  // namespace
}  // namespace velmo::web
