#pragma once
// The two byte-string values every layer speaks: Text (code page 936, never a
// zero byte) and Bytes (counted, zero bytes allowed).

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace velmo::text {

// A code page 936 byte string with no zero byte inside. Every way in stops at
// the first zero byte, so the invariant cannot be broken by a caller.
class Text {
 public:
  Text() = default;
  Text(const char* bytes) : Text(std::string_view(bytes)) {}  // NOLINT: literals read naturally
  explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
  explicit Text(std::string&& bytes) : bytes_(std::move(bytes)) {
    if (const auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
  }

  std::string_view view() const noexcept { return bytes_; }
  const std::string& str() const noexcept { return bytes_; }
  // Zero-terminated, for platform calls that want a C string.
  const char* c_str() const noexcept { return bytes_.c_str(); }
  std::size_t size() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

// A counted byte sequence: answer bodies and UTF-16 units travel as Bytes.
class Bytes {
 public:
  Bytes() = default;
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
  explicit Bytes(std::string&& bytes) noexcept : bytes_(std::move(bytes)) {}

  std::string_view view() const noexcept { return bytes_; }
  const char* data() const noexcept { return bytes_.data(); }
  std::size_t size() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }

  // Growing in place keeps a body read piece by piece linear in its size.
  void Append(std::string_view more) { bytes_.append(more); }

  friend bool operator==(const Bytes&, const Bytes&) = default;

 private:
  std::string bytes_;
};

}  // namespace velmo::text
