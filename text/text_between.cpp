#include "text/text_between.h"

#include "text/text_ops.h"

namespace velmo::text {
namespace {

// "#引号" in code page 936.
const Text kQuoteStandIn("#\xD2\xFD\xBA\xC5");

Text WithQuotes(const Text& marker) {
  return ReplaceText(marker, kQuoteStandIn, "\"");
}

}  // namespace

Text TextBetween(const Text& text, const Text& start_marker, const Text& end_marker) {
  const Text start = WithQuotes(start_marker);
  const Text end = WithQuotes(end_marker);
  int a = FindText(text, start);
  if (a == -1) return {};
  a += TextLength(start);
  const int b = FindText(text, end, a);
  if (b == -1) return {};
  return TextMid(text, a, b - a);
}

}  // namespace velmo::text
