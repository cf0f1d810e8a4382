// UrlEncode gives ASCII safe bytes and escapes only, and decoding what it
// gives returns the text wherever the text survives the trip through UTF-8
// unchanged. UrlDecode never fails and never yields a zero byte.

#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "text/codepage.h"
#include "text/url_coding.h"

namespace {

bool IsSafe(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
         c == '.';
}

bool IsUpperHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using velmo::text::Text;
  velmo::fuzz::Input input(data, size);
  const Text text(input.Next());

  const Text encoded = velmo::text::UrlEncode(text);
  const std::string_view e = encoded.view();
  for (std::size_t i = 0; i < e.size(); ++i) {
    if (IsSafe(e[i])) continue;
    if (e[i] != '%' || i + 2 >= e.size() || !IsUpperHex(e[i + 1]) || !IsUpperHex(e[i + 2])) {
      std::abort();
    }
    i += 2;
  }
  // The trip through UTF-8 is exact for text that code page 936 reads back
  // as itself; for such text the decoding undoes the encoding.
  const Text round = velmo::text::Utf8ToAnsi(velmo::text::AnsiToUtf8(text));
  if (velmo::text::UrlDecode(encoded) != round) std::abort();

  const Text decoded = velmo::text::UrlDecode(text);
  if (decoded.view().find('\0') != std::string_view::npos) std::abort();
  return 0;
}
