// Throughput of the text operations over a 4 MiB answer page: HTML with
// Chinese text and percent escapes, the short address near its end so every
// search crosses the whole page.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>

#include "text/codepage.h"
#include "text/text_between.h"
#include "text/text_ops.h"
#include "text/url_coding.h"

namespace {

using velmo::text::Text;

constexpr std::size_t kPageSize = 4 << 20;

// One block of a realistic answer page, in UTF-8 as the services send it.
std::string PageUtf8() {
  const std::string block =
      "<div class=\"item\"><a href=\"/go?u=http%3A%2F%2Fexample.com%2F%E4%B8%AD%E6%96%87\">"
      "\xE7\xBD\x91\xE5\x9D\x80\xE7\xBC\xA9\xE7\x9F\xAD\xE6\x9C\x8D\xE5\x8A\xA1</a>"
      "<span title=\"%E6%9C%8D%E5%8A%A1\">share this link with your friends</span>"
      "<p>\xE4\xB8\xAD\xE6\x96\x87\xE5\x86\x85\xE5\xAE\xB9 and some English text.</p></div>\n";
  std::string page;
  page.reserve(kPageSize + 256);
  while (page.size() + block.size() < kPageSize) page += block;
  page += "<input id=\"short_url\" value=\"http://s.example/abc\\/1\"></body></html>";
  return page;
}

// The same page as FetchDecodedText hands it on: decoded, in code page 936.
const Text& PageGbk() {
  static const Text page = velmo::text::UrlDecode(Text(PageUtf8()));
  return page;
}

const Text& PageEscaped() {
  static const Text page(PageUtf8());
  return page;
}

void SetBytes(benchmark::State& state, const Text& input) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(input.size()));
}

void BM_UrlDecode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velmo::text::UrlDecode(PageEscaped()));
  SetBytes(state, PageEscaped());
}

void BM_PercentDecode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velmo::text::PercentDecode(PageEscaped()));
  SetBytes(state, PageEscaped());
}

void BM_CurlEasyUnescape(benchmark::State& state) {
  CURL* curl = curl_easy_init();
  const Text& page = PageEscaped();
  for (auto _ : state) {
    int length = 0;
    char* out = curl_easy_unescape(curl, page.c_str(), static_cast<int>(page.size()), &length);
    benchmark::DoNotOptimize(out);
    curl_free(out);
  }
  curl_easy_cleanup(curl);
  SetBytes(state, page);
}

void BM_UrlEncode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velmo::text::UrlEncode(PageGbk()));
  SetBytes(state, PageGbk());
}

void BM_FindText(benchmark::State& state) {
  const Text marker("id=\"short_url\" value=\"");
  for (auto _ : state) benchmark::DoNotOptimize(velmo::text::FindText(PageGbk(), marker));
  SetBytes(state, PageGbk());
}

void BM_TextBetween(benchmark::State& state) {
  const Text start("id=\"short_url\" value=\"");
  const Text end("\"");
  for (auto _ : state) benchmark::DoNotOptimize(velmo::text::TextBetween(PageGbk(), start, end));
  SetBytes(state, PageGbk());
}

void BM_ReplaceText(benchmark::State& state) {
  const Text sought("\\/");
  const Text slash("/");
  for (auto _ : state) {
    benchmark::DoNotOptimize(velmo::text::ReplaceText(PageGbk(), sought, slash));
  }
  SetBytes(state, PageGbk());
}

BENCHMARK(BM_UrlDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PercentDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurlEasyUnescape)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UrlEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetween)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
