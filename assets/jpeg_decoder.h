#pragma once
// Turning a stored JPEG picture into pixels a control can draw.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmo::assets {

// A decoded picture at its own size: rows top to bottom, three bytes per pixel in the order
// red, green, blue, no padding between rows.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// The largest width or height accepted. Our pictures are tens of pixels; a header claiming
// more is corrupt, and trusting it would ask for gigabytes before the data runs out.
inline constexpr int kMaxPictureSide = 4096;

// Decodes a whole JPEG file. Gives no bitmap, and writes nothing anywhere, for data that is
// not a JPEG, is cut short, or that libjpeg finds corrupt on the way (it would otherwise fill
// the damaged part with grey and carry on); a control then simply has no such picture.
// Callers decode when a picture is set and keep the bitmap, never on each repaint.
std::optional<Bitmap> DecodeJpeg(std::span<const std::uint8_t> jpeg);

}  // namespace velmo::assets
