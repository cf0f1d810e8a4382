#pragma once
// The answer pages of the nine fake services: what each service's page looks
// like around its short address, and the ways a page goes wrong.

#include <ostream>
#include <string>

namespace velmo::test {

enum class FakeAnswer {
  kShortAddress,         // a realistic page with the short address amid noise
  kPercentEscapedPage,   // the same page with every byte percent-escaped
  kNoMarker,             // a page that says nothing about a short address
  kMarkerTwice,          // the short address, then a second one further down
  kStartWithoutEnd,      // the page breaks off right after the short address
  kErrorWithMarkers,     // status 500 on a page that still holds the markers
  kErrorWithoutMarkers,  // status 503 on an error page
  kTrailingLineBreak,    // service 7: the short address followed by CR LF
};

// Its name, for test output.
const char* NameOf(FakeAnswer answer);

struct FakePage {
  int status = 200;
  std::string body;  // UTF-8, as the services send it
};

// The page service n sends when its short address is short_address. The
// second address of kMarkerTwice is kDecoyAddress.
FakePage MakeFakePage(int service, FakeAnswer answer, const std::string& short_address);

inline constexpr const char* kDecoyAddress = "http://decoy.example/not-this-one";

// Service 7's error page is its whole result, so tests need its text.
inline constexpr const char* kPlainErrorPage =
    "<html><head><title>503</title></head><body>Service Unavailable</body></html>";

inline void PrintTo(FakeAnswer answer, std::ostream* out) {
  *out << NameOf(answer);
}

}  // namespace velmo::test
