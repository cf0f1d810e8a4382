#include "core/shorten_address.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>

#include "tests/core/support/fake_services.h"
#include "tests/text/text_printers.h"
#include "text/codepage.h"
#include "web/transport_settings.h"

namespace velmo::core {
namespace {

using namespace std::chrono_literals;
using test::FakeAnswer;
using test::FakeServices;
using text::Text;

Text Cp936(const std::string& utf8) {
  return text::Utf8ToAnsi(Text(utf8));
}

class ShortenAddressTest : public testing::Test {
 protected:
  void TearDown() override { EXPECT_THAT(fakes_.Faults(), testing::IsEmpty()); }

  // The address as service n's fake received it, still encoded.
  std::string SentAddress(int service, std::size_t index = 0) const {
    const auto requests = fakes_.Requests(service);
    return index < requests.size() ? requests[index].encoded_address : "(no request)";
  }

  FakeServices fakes_;
};

class EveryRecipeTest : public ShortenAddressTest, public testing::WithParamInterface<int> {};

// Each recipe, end to end: the fake checks method, path, query or body and the
// header lines, and answers a page with its markers amid noise and decoys.
TEST_P(EveryRecipeTest, SendsTheRecipeAndCutsOutTheShortAddress) {
  const int n = GetParam();
  EXPECT_EQ(ShortenAddress(fakes_.Slot(n), "srv/a b"), Text(FakeServices::ShortAddress(n, 1)));
  EXPECT_EQ(fakes_.RequestCount(n), 1u);
  EXPECT_EQ(SentAddress(n), "http%3A%2F%2Fsrv%2Fa%20b");
}

INSTANTIATE_TEST_SUITE_P(Services, EveryRecipeTest, testing::Range(1, kServiceCount + 1));

struct AddressCase {
  const char* name;
  const char* address;  // UTF-8 here; handed over in code page 936
  const char* sent;
};

void PrintTo(const AddressCase& row, std::ostream* out) {
  *out << row.name;
}

class SchemePrefixTest : public ShortenAddressTest,
                         public testing::WithParamInterface<AddressCase> {};

// Only the first seven bytes, exactly "http://", keep the address as it is.
// Checked on a POST recipe and a GET recipe, both with text after the address.
TEST_P(SchemePrefixTest, PrefixesAndEncodesTheAddress) {
  const Text address = Cp936(GetParam().address);
  EXPECT_EQ(ShortenAddress(fakes_.Slot(9), address), Text(FakeServices::ShortAddress(9, 1)));
  EXPECT_EQ(ShortenAddress(fakes_.Slot(5), address), Text(FakeServices::ShortAddress(5, 1)));
  EXPECT_EQ(SentAddress(9), GetParam().sent);
  EXPECT_EQ(SentAddress(5), GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SchemePrefixTest,
    testing::Values(
        AddressCase{"NoScheme", "x.cn/p", "http%3A%2F%2Fx.cn%2Fp"},
        AddressCase{"Scheme", "http://x.cn/p?q=1&r=a+b",
                    "http%3A%2F%2Fx.cn%2Fp%3Fq%3D1%26r%3Da%2Bb"},
        AddressCase{"BareScheme", "http://", "http%3A%2F%2F"},
        AddressCase{"CapitalScheme", "HTTP://x.cn", "http%3A%2F%2FHTTP%3A%2F%2Fx.cn"},
        AddressCase{"SecureScheme", "https://x.cn", "http%3A%2F%2Fhttps%3A%2F%2Fx.cn"},
        AddressCase{"LeadingSpace", " http://x.cn", "http%3A%2F%2F%20http%3A%2F%2Fx.cn"},
        AddressCase{"CutScheme", "http:/x", "http%3A%2F%2Fhttp%3A%2Fx"},
        AddressCase{"Empty", "", "http%3A%2F%2F"},
        // Three UTF-8 bytes for each Chinese character.
        AddressCase{"Chinese", "http://例子.中国/路径",
                    "http%3A%2F%2F%E4%BE%8B%E5%AD%90.%E4%B8%AD%E5%9B%BD%2F%E8%B7%AF%E5%BE%84"}),
    [](const testing::TestParamInfo<AddressCase>& row) { return std::string(row.param.name); });

// Every marker row but service 7's, against every way a page can go wrong.
class PageTest : public ShortenAddressTest,
                 public testing::WithParamInterface<std::tuple<int, FakeAnswer>> {};

bool IsRaw(int service) {
  return service == 2 || service == 8;
}

std::string PageCaseName(const testing::TestParamInfo<std::tuple<int, FakeAnswer>>& row) {
  return "Service" + std::to_string(std::get<0>(row.param)) + test::NameOf(std::get<1>(row.param));
}

TEST_P(PageTest, TakesTheFirstShortAddressOrNothing) {
  const auto [n, answer] = GetParam();
  fakes_.SetAnswer(n, answer);
  const Text found(FakeServices::ShortAddress(n, 1));
  Text expected;
  switch (answer) {
    case FakeAnswer::kMarkerTwice:       // the first one counts
    case FakeAnswer::kErrorWithMarkers:  // the status is never looked at
      expected = found;
      break;
    case FakeAnswer::kPercentEscapedPage:  // only a decoding service sees through it
      expected = IsRaw(n) ? Text() : found;
      break;
    default:
      break;
  }
  EXPECT_EQ(ShortenAddress(fakes_.Slot(n), "a.cn"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PageTest,
    testing::Combine(testing::Values(1, 2, 3, 4, 5, 6, 8, 9),
                     testing::Values(FakeAnswer::kPercentEscapedPage, FakeAnswer::kNoMarker,
                                     FakeAnswer::kMarkerTwice, FakeAnswer::kStartWithoutEnd,
                                     FakeAnswer::kErrorWithMarkers,
                                     FakeAnswer::kErrorWithoutMarkers)),
    PageCaseName);

// Service 7's whole page is the result: decoded, but neither checked nor
// trimmed.
TEST_F(ShortenAddressTest, ServiceSevenTakesTheWholeDecodedBody) {
  const std::string found = FakeServices::ShortAddress(7, 1);
  fakes_.SetAnswer(7, FakeAnswer::kTrailingLineBreak);
  EXPECT_EQ(ShortenAddress(fakes_.Slot(7), "a.cn"), Text(found + "\r\n"));
  fakes_.SetAnswer(7, FakeAnswer::kPercentEscapedPage);
  EXPECT_EQ(ShortenAddress(fakes_.Slot(7), "a.cn"), Text(FakeServices::ShortAddress(7, 2)));
  fakes_.SetAnswer(7, FakeAnswer::kErrorWithoutMarkers);
  EXPECT_EQ(ShortenAddress(fakes_.Slot(7), "a.cn"), Text(test::kPlainErrorPage));
}

// A service that takes longer than the request may last, or is not there at
// all, gives the empty text; service 7 too, although it takes any body.
TEST_F(ShortenAddressTest, SlowOrMissingServiceGivesNothing) {
  web::TransportSettings quick = web::CurrentTransportSettings();
  quick.total_timeout = 300ms;
  const web::ScopedTransportSettings scoped(quick);
  fakes_.SetDelays(3, {10s});
  fakes_.SetDelays(7, {10s});
  EXPECT_EQ(ShortenAddress(fakes_.Slot(3), "a.cn"), Text());
  EXPECT_EQ(ShortenAddress(fakes_.Slot(7), "a.cn"), Text());

  const ServiceSlot gone = fakes_.Slot(7);
  fakes_.Stop();
  EXPECT_EQ(ShortenAddress(gone, "a.cn"), Text());
}

// The answer body as it came off the wire, cut without a server: the fetch
// mode decides whether escapes and UTF-8 are undone before the markers are
// looked for, and only the JSON rows unescape their slashes.
struct BodyCase {
  const char* name;
  int service;
  const char* body;      // the bytes the service sent (UTF-8 where not ASCII)
  const char* expected;  // UTF-8 here; compared in code page 936 unless raw
  bool raw_result = false;
};

void PrintTo(const BodyCase& row, std::ostream* out) {
  *out << row.name;
}

class ExtractTest : public testing::TestWithParam<BodyCase> {};

TEST_P(ExtractTest, CutsTheShortAddressOutOfTheBodyAsTheRowReadsIt) {
  const BodyCase& row = GetParam();
  const Text expected = row.raw_result ? Text(row.expected) : Cp936(row.expected);
  EXPECT_EQ(ExtractShortAddress(DefaultCatalogue()[static_cast<std::size_t>(row.service - 1)],
                                Text(row.body)),
            expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, ExtractTest,
    testing::Values(
        // Escaped quotes turn into the marker's quotes only once decoded.
        BodyCase{"EscapedMarker", 1, "onClick=%22oCopy(this)%22 value=%22http://s.cn/1%22>",
                 "http://s.cn/1"},
        // A decoded '<' ends the address, where the escape stood.
        BodyCase{"EscapedEndMarker", 4,
                 "name=js_1 rows=2 wrap=virtual type=hidden>http://s.cn/4%3Cb<", "http://s.cn/4"},
        // The page's UTF-8 marker matches the row's code page 936 one.
        BodyCase{"Utf8Marker", 5, "<p>缩短后: <strong><a href=\"http://s.cn/短\">",
                 "http://s.cn/短"},
        BodyCase{"DecodedRowKeepsBackslashes", 9, "<a id=\"statlink\" href=\"http:\\/\\/s.cn\"",
                 "http:\\/\\/s.cn"},
        BodyCase{"RawRowUnescapesSlashes", 8, "{\"shorturl\":\"http:\\/\\/s.cn\\/8\"}",
                 "http://s.cn/8"},
        BodyCase{"RawRowSeesNoMarkerInEscapes", 8, "shorturl%22%3A%22http://s.cn/8%22", ""},
        // Raw bytes are still stepped as code page 936 characters: the last
        // byte of an odd UTF-8 run pairs with the first closing quote, so the
        // next quote ends the address.
        BodyCase{"RawRowKeepsUtf8", 2, "tinyurl\":\"http:\\/\\/s.cn\\/短网\"", "http://s.cn/短网",
                 true},
        BodyCase{"RawRowQuoteTakenByUtf8", 2, "tinyurl\":\"http:\\/\\/s.cn\\/短\"\"",
                 "http://s.cn/短\"", true},
        BodyCase{"WholeBodyDecoded", 7, "http%3A%2F%2Fs.cn%2F%E7%9F%AD\r\n", "http://s.cn/短\r\n"},
        BodyCase{"WholeBodyEmpty", 7, "", ""}),
    [](const testing::TestParamInfo<BodyCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmo::core
