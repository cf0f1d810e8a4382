#pragma once
// Splits one fuzzer input into a few byte strings, so one target can vary a
// text, a sought text and a replacement together.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmo::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next piece, up to the next 0xFE 0xFE separator (or the end).
  std::string_view Next() {
    const std::size_t cut = rest_.find("\xFE\xFE");
    const std::string_view piece = rest_.substr(0, cut);
    rest_ = cut == std::string_view::npos ? std::string_view() : rest_.substr(cut + 2);
    return piece;
  }

  int NextSmall() {
    const std::string_view piece = Next();
    return piece.empty() ? 0 : static_cast<int>(static_cast<std::int8_t>(piece[0]));
  }

 private:
  std::string_view rest_;
};

}  // namespace velmo::fuzz
