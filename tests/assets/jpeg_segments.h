#pragma once
// Reads a JPEG file's marker segments directly, so the tests can check what the file says
// about itself without going through the decoder under test.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmo::assets::testing {

struct Segment {
  std::uint8_t marker;                    // the byte after 0xFF, e.g. 0xC0 for SOF0
  std::span<const std::uint8_t> payload;  // after the two length bytes
};

struct JpegLayout {
  std::vector<Segment> segments;  // from the one after SOI up to and including SOS
  std::size_t scan_begin;         // first byte of entropy-coded data
};

// Nothing for a file that does not start with SOI or whose segment lengths run past its end.
std::optional<JpegLayout> ReadLayout(std::span<const std::uint8_t> jpeg);

// Big-endian 16-bit value at offset, as JPEG headers store numbers.
unsigned BigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace velmo::assets::testing
