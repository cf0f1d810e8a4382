#include "text/url_coding.h"

#include <array>
#include <string>

#include "text/codepage.h"

namespace velmo::text {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsSafe(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '-' ||
         b == '.';
}

// The value of the byte after a percent sign: its place in "0123456789ABCDEF"
// after upper-casing, or -2 for any other byte. A missing byte (the text has
// ended) counts 0, so a cut-short escape still yields a byte.
constexpr std::array<int, 256> kDigitValue = [] {
  std::array<int, 256> values{};
  values.fill(-2);
  for (int d = 0; d < 16; ++d) {
    values[static_cast<unsigned char>(kHexDigits[d])] = d;
    if (d >= 10) values[static_cast<unsigned char>(kHexDigits[d] - 'A' + 'a')] = d;
  }
  return values;
}();

int DigitAt(std::string_view s, std::size_t i) {
  return i < s.size() ? kDigitValue[static_cast<unsigned char>(s[i])] : 0;
}

}  // namespace

Text UrlEncode(const Text& text) {
  const Text utf8 = AnsiToUtf8(text);
  std::string out;
  out.reserve(utf8.size() * 3);
  for (const char c : utf8.view()) {
    const auto b = static_cast<unsigned char>(c);
    if (IsSafe(b)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHexDigits[b >> 4]);
      out.push_back(kHexDigits[b & 0xF]);
    }
  }
  return Text(std::move(out));
}

Text PercentDecode(const Text& text) {
  const std::string_view s = text.view();
  std::string out;
  out.reserve(s.size());
  std::size_t copied = 0;
  std::size_t i = s.find('%');
  while (i != std::string_view::npos) {
    out.append(s.substr(copied, i - copied));
    const int value = 16 * DigitAt(s, i + 1) + DigitAt(s, i + 2);
    // Only the low eight bits count; a zero byte adds nothing.
    if (const auto byte = static_cast<unsigned char>(value & 0xFF); byte != 0) {
      out.push_back(static_cast<char>(byte));
    }
    copied = i + 3 < s.size() ? i + 3 : s.size();
    i = s.find('%', copied);
  }
  out.append(s.substr(copied));
  return Text(std::move(out));
}

Text UrlDecode(const Text& text) {
  return Utf8ToAnsi(PercentDecode(text));
}

}  // namespace velmo::text
