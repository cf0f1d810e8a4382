// TextBetween gives a piece of the text that stands right after the first
// start marker and right before an end marker, or the empty text.

#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "text/text_between.h"
#include "text/text_ops.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmo::text::Text;
  velmo::fuzz::Input input(data, size);
  const Text text(input.Next());
  const Text start(input.Next());
  const Text end(input.Next());

  const Text between = velmo::text::TextBetween(text, start, end);
  if (between.empty()) return 0;
  const Text quote_start = velmo::text::ReplaceText(start, "#\xD2\xFD\xBA\xC5", "\"");
  const Text quote_end = velmo::text::ReplaceText(end, "#\xD2\xFD\xBA\xC5", "\"");
  const int a = velmo::text::FindText(text, quote_start) + velmo::text::TextLength(quote_start);
  if (velmo::text::TextMid(text, a, velmo::text::TextLength(between)) != between) std::abort();
  const int b = a + velmo::text::TextLength(between);
  if (velmo::text::FindText(text, quote_end, a) != b) std::abort();
  return 0;
}
