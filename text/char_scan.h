#pragma once
// Finds a byte string at character starts only. A byte of 0x80 or above
// starts a two-byte character, so whether a position starts a character
// depends on what came before it. The scan never walks the text byte by byte:
// it lets the library search find a candidate, then decides the candidate
// locally. The position right after any byte below 0x80 always starts a
// character (that byte was either a character or a trail byte), so a candidate
// starts a character exactly when the run of high bytes just before it, back
// to the last known character start, has even length. The last known start
// only moves forward, so a whole scan reads each byte a bounded number of times.

#include <cstddef>
#include <string_view>

namespace velmo::text {

class CharScan {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  // The scan starts at `from`, which counts as a character start even when it
  // is the second byte of a two-byte character.
  CharScan(std::string_view text, std::size_t from) : text_(text), cursor_(from), known_(from) {}

  // The first occurrence of `sought` (not empty) at a character start at or
  // after the cursor, which then rests on it; npos when there is none.
  std::size_t Next(std::string_view sought);

  // Moves the cursor past the character that starts at `at`.
  void StepPast(std::size_t at);

  // Moves the cursor to `at`, which counts as a character start from now on.
  void RestartAt(std::size_t at) { cursor_ = known_ = at; }

  // True when the last byte is a lead byte that the stepping from the cursor
  // reaches as the start of a character with no trail byte after it.
  bool IsLoneLeadAtEnd();

 private:
  bool StartsCharacter(std::size_t at);

  std::string_view text_;
  std::size_t cursor_;
  std::size_t known_;  // a character start at or before every candidate still to come
};

}  // namespace velmo::text
