#include "text/char_scan.h"

namespace velmo::text {
namespace {

bool IsHigh(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

}  // namespace

bool CharScan::StartsCharacter(std::size_t at) {
  std::size_t run = 0;
  while (at - run > known_ && IsHigh(text_[at - run - 1])) ++run;
  const bool starts = run % 2 == 0;
  known_ = starts ? at : at + 1;  // a trail byte is followed by a character start
  return starts;
}

std::size_t CharScan::Next(std::string_view sought) {
  std::size_t from = cursor_;
  while (from < text_.size()) {
    const std::size_t at = text_.find(sought, from);
    if (at == npos) break;
    if (StartsCharacter(at)) {
      cursor_ = at;
      return at;
    }
    from = at + 1;
  }
  cursor_ = text_.size();
  return npos;
}

void CharScan::StepPast(std::size_t at) {
  const std::size_t next = at + (IsHigh(text_[at]) ? 2 : 1);
  RestartAt(next < text_.size() ? next : text_.size());
}

bool CharScan::IsLoneLeadAtEnd() {
  if (text_.empty() || !IsHigh(text_.back())) return false;
  const std::size_t last = text_.size() - 1;
  return last >= known_ && StartsCharacter(last);
}

}  // namespace velmo::text
