#include "jpeg_segments.h"

namespace velmo::assets::testing {

unsigned BigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<unsigned>(bytes[offset] << 8 | bytes[offset + 1]);
}

std::optional<JpegLayout> ReadLayout(std::span<const std::uint8_t> jpeg) {
  if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return std::nullopt;
  JpegLayout layout{{}, 0};
  std::size_t at = 2;
  while (at + 4 <= jpeg.size()) {
    if (jpeg[at] != 0xFF) return std::nullopt;
    const std::uint8_t marker = jpeg[at + 1];
    const std::size_t length = BigEndian16(jpeg, at + 2);
    if (length < 2 || at + 2 + length > jpeg.size()) return std::nullopt;
    layout.segments.push_back({marker, jpeg.subspan(at + 4, length - 2)});
    at += 2 + length;
    if (marker == 0xDA) {
      layout.scan_begin = at;
      return layout;
    }
  }
  return std::nullopt;
}

}  // namespace velmo::assets::testing
