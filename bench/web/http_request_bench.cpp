// One loopback request through HttpRequest against the same request made with
// a bare libcurl easy handle: what the routine's own work (address parts,
// header text, handle set-up, checks) adds to one exchange.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "web/http_request.h"

namespace {

using velmo::text::Text;

constexpr const char* kAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; KORVO; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// About the size of a service's answer page.
std::string AnswerPage() {
  std::string page = "<html><body>";
  while (page.size() < 4000) page += "<p>short address service</p>";
  return page + "id=\"short_url\" value=\"http://s.example/abc\"</body></html>";
}

velmo::test::LoopbackServer& Server() {
  static velmo::test::LoopbackServer server(velmo::test::ReplyBody(AnswerPage()));
  return server;
}

std::string Address() {
  return Server().Url("/api.php?url=http%3A%2F%2Fsrv%2Fa%20b");
}

void BM_HttpRequest(benchmark::State& state) {
  velmo::web::InitialiseWebAccess();
  const Text address(Address());
  for (auto _ : state) {
    const velmo::text::Bytes body = velmo::web::HttpRequest(address, 0, Text());
    if (body.empty()) state.SkipWithError("empty answer");
    benchmark::DoNotOptimize(body.data());
  }
}
BENCHMARK(BM_HttpRequest)->UseRealTime();

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

// The same bytes on the wire (request line, user agent, the four header
// lines), with nothing but what curl needs to send them and keep the body.
void BM_BareCurl(benchmark::State& state) {
  velmo::web::InitialiseWebAccess();
  const std::string address = Address();
  const std::string referer = "Referer: " + address;
  curl_slist* headers = nullptr;
  for (const char* line : {referer.c_str(), "Accept: */*", "Accept-Language: zh-cn",
                           "Content-Type: application/x-www-form-urlencoded"}) {
    headers = curl_slist_append(headers, line);
  }
  for (auto _ : state) {
    std::string body;
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    if (body.empty()) state.SkipWithError("empty answer");
    benchmark::DoNotOptimize(body.data());
  }
  curl_slist_free_all(headers);
}
BENCHMARK(BM_BareCurl)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
