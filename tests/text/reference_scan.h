#pragma once
// The searching operations written the slow, literal way: a cursor that
// compares at every character start and steps one character at a time. The
// fast implementations must agree with these on every input.

#include <string>
#include <string_view>

namespace velmo::text::reference {

inline bool Equal(std::string_view a, std::string_view b, bool fold) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold ? lower(a[i]) != lower(b[i]) : a[i] != b[i]) return false;
  }
  return true;
}

inline bool IsHigh(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

inline int FindText(std::string_view s, std::string_view m, int start, bool fold) {
  std::size_t cursor = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (cursor >= s.size()) return -1;
  if (m.empty()) return 1;
  while (s.size() - cursor >= m.size()) {
    if (Equal(s.substr(cursor, m.size()), m, fold)) return static_cast<int>(cursor) + 1;
    if (!IsHigh(s[cursor])) {
      ++cursor;
    } else if (cursor + 1 == s.size()) {
      break;  // lone lead byte
    } else {
      cursor += 2;
    }
  }
  return -1;
}

inline int FindTextReverse(std::string_view s, std::string_view m) {
  if (s.empty()) return -1;
  if (m.empty()) return 1;
  int last = -1;
  std::size_t cursor = 0;
  while (s.size() - cursor >= m.size()) {
    if (Equal(s.substr(cursor, m.size()), m, false)) last = static_cast<int>(cursor) + 1;
    if (!IsHigh(s[cursor])) {
      ++cursor;
    } else if (cursor + 1 == s.size()) {
      break;
    } else {
      cursor += 2;
    }
  }
  return last;
}

inline std::string ReplaceText(std::string_view s, std::string_view m, std::string_view r) {
  if (s.empty() || m.empty()) return std::string(s);
  std::string out;
  std::size_t cursor = 0;
  while (s.size() - cursor >= m.size()) {
    if (s.substr(cursor, m.size()) == m) {
      out += r;
      cursor += m.size();
    } else if (!IsHigh(s[cursor])) {
      out += s[cursor++];
    } else if (cursor + 1 == s.size()) {
      return out;  // a lone lead byte reached this way is dropped and ends the scan
    } else {
      out += s.substr(cursor, 2);
      cursor += 2;
    }
  }
  out += s.substr(cursor);
  return out;
}

}  // namespace velmo::text::reference
