#pragma once
// The byte-text primitives. Positions are 1-based byte positions, a search
// that finds nothing gives -1, and out-of-range counts give the empty value.
// Where an operation steps by characters, a byte of 0x80 or above starts a
// two-byte character together with the byte after it. All are pure and safe
// to call from any number of threads at once.

#include <initializer_list>
#include <string_view>

#include "text/text.h"

namespace velmo::text {

int TextLength(const Text& text);
Text TextLeft(const Text& text, int count);
Text TextRight(const Text& text, int count);
Text TextMid(const Text& text, int start, int count);

// A start of 1 or less searches the whole text. With fold, A-Z and a-z match
// each other in every byte, trail bytes of two-byte characters included.
int FindText(const Text& text, const Text& sought, int start = 1, bool fold = false);
int FindTextReverse(const Text& text, const Text& sought);
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement);

Text ToUpper(const Text& text);
Text ToLower(const Text& text);
int ToInteger(const Text& text);
Text HexText(int value);
Text CharFromCode(int code);
int CompareText(const Text& a, const Text& b);

namespace detail {
inline std::string_view AsView(const Text& text) {
  return text.view();
}
inline std::string_view AsView(const char* text) {
  return std::string_view(text);
}
Text JoinViews(std::initializer_list<std::string_view> parts);
Bytes JoinByteViews(std::initializer_list<std::string_view> parts);
}  // namespace detail

// The texts one after another, in argument order.
template <typename... More>
Text JoinText(const Text& first, const Text& second, const More&... more) {
  return detail::JoinViews({first.view(), second.view(), detail::AsView(more)...});
}

Bytes TextToBytes(const Text& text);
Text BytesToText(const Bytes& bytes);
int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int count);
Bytes BlankBytes(int count);
Text BlankText(int count);

template <typename... More>
Bytes JoinBytes(const Bytes& first, const Bytes& second, const More&... more) {
  return detail::JoinByteViews({first.view(), second.view(), more.view()...});
}

}  // namespace velmo::text
