// The code page conversions take any bytes: the results hold no zero byte,
// UTF-8 results are well formed, and every code page 936 character that
// decodes to something other than '?' encodes back to the same bytes.

#include <unicode/utf8.h>

#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "text/codepage.h"

namespace {

bool IsWellFormedUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  std::int32_t i = 0;
  while (i < length) {
    UChar32 c;
    U8_NEXT(p, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmo::text::Text;
  velmo::fuzz::Input input(data, size);
  const Text text(input.Next());

  const Text utf8 = velmo::text::AnsiToUtf8(text);
  if (!IsWellFormedUtf8(utf8.view())) std::abort();
  const Text back = velmo::text::Utf8ToAnsi(utf8);
  if (back.view().find('\0') != std::string_view::npos) std::abort();
  // Every malformed or unmapped sequence decodes to '?', so without any '?'
  // on either side the text held only characters, and those come back exact.
  const auto has_question = [](const Text& t) {
    return t.view().find('?') != std::string_view::npos;
  };
  if (!has_question(text) && !has_question(utf8) && back != text) std::abort();
  const Text ansi = velmo::text::Utf8ToAnsi(text);
  if (ansi.view().find('\0') != std::string_view::npos) std::abort();
  if (velmo::text::WideToText(velmo::text::TextToWide(text, 936), 936).empty() != text.empty()) {
    std::abort();
  }
  return 0;
}
