#include "text/text_ops.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "text/char_scan.h"

namespace velmo::text {
namespace {

std::size_t Clamp(int count, std::size_t limit) {
  return count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), limit);
}

int Position(std::size_t index) {
  return static_cast<int>(index) + 1;
}

unsigned char Byte(std::string_view s, std::size_t i) {
  return static_cast<unsigned char>(s[i]);
}

// Maps A-Z to a-z in every byte. Folding never touches a byte of 0x80 or
// above, so the character structure of the folded copy is the original's.
std::string FoldCase(std::string_view s) {
  std::string folded(s);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

template <char From, char To>
Text MapCase(const Text& text) {
  std::string out(text.view());
  std::size_t i = 0;
  while (i < out.size()) {
    const char c = out[i];
    if (Byte(out, i) >= 0x80) {
      i += 2;  // two-byte character, or a lone lead byte that ends the pass
      continue;
    }
    if (c >= From && c <= static_cast<char>(From + 25)) out[i] = static_cast<char>(c - From + To);
    ++i;
  }
  return Text(std::move(out));
}

// Full-width forms of code page 936 that ToInteger reads as ASCII.
char NarrowFullWidth(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead == 0xA1) {
    if (trail == 0xA1) return ' ';
    if (trail == 0xAB) return '~';
    if (trail == 0xEE || trail == 0xEF) return '*';
  }
  return 0;
}

}  // namespace

int TextLength(const Text& text) {
  return static_cast<int>(text.size());
}

Text TextLeft(const Text& text, int count) {
  return Text(text.view().substr(0, Clamp(count, text.size())));
}

Text TextRight(const Text& text, int count) {
  const std::size_t n = Clamp(count, text.size());
  return Text(text.view().substr(text.size() - n));
}

Text TextMid(const Text& text, int start, int count) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) return {};
  return Text(
      text.view().substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(count)));
}

int FindText(const Text& text, const Text& sought, int start, bool fold) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  std::size_t found;
  if (fold) {
    found = CharScan(FoldCase(text.view()), from).Next(FoldCase(sought.view()));
  } else {
    found = CharScan(text.view(), from).Next(sought.view());
  }
  return found == CharScan::npos ? -1 : Position(found);
}

int FindTextReverse(const Text& text, const Text& sought) {
  if (text.empty()) return -1;
  if (sought.empty()) return 1;
  CharScan scan(text.view(), 0);
  std::size_t last = CharScan::npos;
  for (std::size_t at = scan.Next(sought.view()); at != CharScan::npos;
       at = scan.Next(sought.view())) {
    last = at;
    scan.StepPast(at);
  }
  return last == CharScan::npos ? -1 : Position(last);
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement) {
  if (text.empty() || sought.empty()) return text;
  const std::string_view s = text.view();
  const std::string_view m = sought.view();
  std::string out;
  out.reserve(s.size());
  CharScan scan(s, 0);
  std::size_t copied = 0;
  for (std::size_t at = scan.Next(m); at != CharScan::npos; at = scan.Next(m)) {
    out.append(s.substr(copied, at - copied));
    out.append(replacement.view());
    copied = at + m.size();
    scan.RestartAt(copied);
  }
  // Character by character, a one-byte sought text reaches a final lone lead
  // byte as a character of its own, and such a byte is dropped.
  std::size_t end = s.size();
  if (m.size() == 1 && scan.IsLoneLeadAtEnd()) end = s.size() - 1;
  if (copied < end) out.append(s.substr(copied, end - copied));
  return Text(std::move(out));
}

Text ToUpper(const Text& text) {
  return MapCase<'a', 'A'>(text);
}

Text ToLower(const Text& text) {
  return MapCase<'A', 'a'>(text);
}

int ToInteger(const Text& text) {
  const std::string_view s = text.view();
  std::string narrow;
  narrow.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (Byte(s, i) < 0x80 || i + 1 == s.size()) {
      narrow.push_back(s[i]);
      continue;
    }
    const char ascii = NarrowFullWidth(Byte(s, i), Byte(s, i + 1));
    if (ascii != 0) {
      narrow.push_back(ascii);
    } else {
      narrow.append(s.substr(i, 2));
    }
    ++i;
  }
  std::size_t i = 0;
  while (i < narrow.size() && (narrow[i] == ' ' || (narrow[i] >= '\t' && narrow[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) negative = narrow[i++] == '-';
  // Values past the 32-bit range saturate rather than wrap.
  std::int64_t value = 0;
  for (; i < narrow.size() && narrow[i] >= '0' && narrow[i] <= '9'; ++i) {
    value = std::min<std::int64_t>(value * 10 + (narrow[i] - '0'), std::int64_t{INT_MAX} + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

Text HexText(int value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto v = static_cast<std::uint32_t>(value);
  char buffer[8];
  std::size_t n = 0;
  do {
    buffer[n++] = kDigits[v & 0xF];
    v >>= 4;
  } while (v != 0);
  std::reverse(buffer, buffer + n);
  return Text(std::string_view(buffer, n));
}

Text CharFromCode(int code) {
  const char byte = static_cast<char>(static_cast<std::uint32_t>(code) & 0xFF);
  return Text(std::string_view(&byte, 1));  // a zero byte gives the empty Text
}

int CompareText(const Text& a, const Text& b) {
  // std::string_view compares as unsigned bytes through char_traits<char>.
  const int order = a.view().compare(b.view());
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

Bytes TextToBytes(const Text& text) {
  return Bytes(text.view());
}

Text BytesToText(const Bytes& bytes) {
  return Text(bytes.view());
}

int BytesLength(const Bytes& bytes) {
  return static_cast<int>(bytes.size());
}

Bytes BytesLeft(const Bytes& bytes, int count) {
  return Bytes(bytes.view().substr(0, Clamp(count, bytes.size())));
}

Bytes BlankBytes(int count) {
  return Bytes(std::string(Clamp(count, SIZE_MAX), '\0'));
}

Text BlankText(int count) {
  return Text(std::string(Clamp(count, SIZE_MAX), ' '));
}

namespace detail {

namespace {
std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (const auto part : parts) total += part.size();
  std::string joined;
  joined.reserve(total);
  for (const auto part : parts) joined.append(part);
  return joined;
}
}  // namespace

Text JoinViews(std::initializer_list<std::string_view> parts) {
  return Text(Concat(parts));
}

Bytes JoinByteViews(std::initializer_list<std::string_view> parts) {
  return Bytes(Concat(parts));
}

}  // namespace detail
}  // namespace velmo::text
