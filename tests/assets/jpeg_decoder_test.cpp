// Decoding: every embedded picture comes out at its own size with the colours it was drawn in,
// and anything damaged gives no picture at all, quietly.

#include "assets/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "assets/pictures.h"
#include "expected_pictures.h"
#include "jpeg_segments.h"

namespace velmo::assets {
namespace {

using testing::ExpectedPicture;
using testing::kExpectedPictures;
using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  int r, g, b;
};

Rgb PixelAt(const Bitmap& bitmap, int x, int y) {
  const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) +
                   static_cast<std::size_t>(x)) *
                  3;
  return {bitmap.rgb[at], bitmap.rgb[at + 1], bitmap.rgb[at + 2]};
}

Bitmap MustDecode(PictureId id) {
  auto bitmap = DecodeJpeg(Picture(id));
  EXPECT_TRUE(bitmap.has_value()) << PictureName(id);
  return bitmap.value_or(Bitmap{});
}

class DecodeEmbedded : public ::testing::TestWithParam<ExpectedPicture> {};

TEST_P(DecodeEmbedded, GivesABitmapOfThePicturesOwnSize) {
  const ExpectedPicture want = GetParam();
  const auto bitmap = DecodeJpeg(Picture(want.id));
  ASSERT_TRUE(bitmap.has_value());
  EXPECT_EQ(bitmap->width, want.width);
  EXPECT_EQ(bitmap->height, want.height);
  EXPECT_EQ(bitmap->rgb.size(), static_cast<std::size_t>(want.width * want.height * 3));
}

INSTANTIATE_TEST_SUITE_P(Embedded, DecodeEmbedded, ::testing::ValuesIn(kExpectedPictures),
                         [](const auto& row) { return std::string(PictureName(row.param.id)); });

bool IsWhite(Rgb c) {
  return c.r > 215 && c.g > 215 && c.b > 215;
}
bool IsDark(Rgb c) {
  return c.r < 80 && c.g < 80 && c.b < 80;
}
bool IsBlue(Rgb c) {
  return c.b > c.r + 60 && c.b > c.g + 20;
}
bool IsGreen(Rgb c) {
  return c.g > c.r + 40 && c.g > c.b + 40;
}
bool IsGrey(Rgb c) {
  return std::abs(c.r - c.b) < 24 && c.r > 60 && c.r < 200;
}

// A few telling pixels per picture. They catch a name wired to the wrong file and a decoder
// that hands back blue and red swapped.
struct Probe {
  PictureId id;
  int x, y;
  bool (*looks)(Rgb);
  const char* what;
};

const Probe kProbes[] = {
    {PictureId::PicToggleOn, 6, 6, IsDark, "tick"},
    {PictureId::PicToggleOn, 0, 6, IsGrey, "plain frame"},
    {PictureId::PicToggleOnHover, 6, 6, IsDark, "tick"},
    {PictureId::PicToggleOnHover, 0, 6, IsBlue, "blue frame"},
    {PictureId::PicToggleOff, 6, 6, IsWhite, "empty box"},
    {PictureId::PicToggleOff, 0, 6, IsGrey, "plain frame"},
    {PictureId::PicToggleOffHover, 6, 6, IsWhite, "empty box"},
    {PictureId::PicToggleOffHover, 0, 6, IsBlue, "blue frame"},
    {PictureId::PicLogo, 0, 0, IsWhite, "white ground"},
    {PictureId::PicLogo, 14, 31, IsBlue, "emblem"},
    {PictureId::PicConvertNormal, 8, 25, IsGreen, "plate"},
    {PictureId::PicConvertHover, 8, 25, IsGreen, "plate"},
    {PictureId::PicConvertPressed, 8, 25, IsGreen, "plate"},
    {PictureId::PicCloseNormal, 1, 1, IsBlue, "ground"},
    {PictureId::PicCloseNormal, 9, 9, IsWhite, "cross"},
    {PictureId::PicCloseHover, 1, 1, IsBlue, "ground"},
    {PictureId::PicCloseHover, 9, 9, IsWhite, "cross"},
    {PictureId::PicMinimiseNormal, 2, 2, IsBlue, "ground"},
    {PictureId::PicMinimiseNormal, 16, 7, IsWhite, "bar"},
    {PictureId::PicMinimiseHover, 2, 2, IsBlue, "ground"},
    {PictureId::PicMinimiseHover, 16, 7, IsWhite, "bar"},
};

TEST(DecodeEmbedded, ShowsWhatEachPictureIsFor) {
  for (const Probe& probe : kProbes) {
    const Bitmap bitmap = MustDecode(probe.id);
    if (bitmap.rgb.empty()) continue;
    const Rgb c = PixelAt(bitmap, probe.x, probe.y);
    EXPECT_TRUE(probe.looks(c)) << PictureName(probe.id) << " (" << probe.x << ", " << probe.y
                                << ") should be " << probe.what << ", is " << c.r << "," << c.g
                                << "," << c.b;
  }
}

TEST(DecodeEmbedded, StateShadesGoFromPressedToNormalToHover) {
  // The same background pixel, darker picture first.
  const struct {
    PictureId darker, lighter;
    int x, y;
  } kPairs[] = {
      {PictureId::PicConvertPressed, PictureId::PicConvertNormal, 8, 25},
      {PictureId::PicConvertNormal, PictureId::PicConvertHover, 8, 25},
      {PictureId::PicCloseNormal, PictureId::PicCloseHover, 1, 1},
      {PictureId::PicMinimiseNormal, PictureId::PicMinimiseHover, 2, 2},
  };
  for (const auto& pair : kPairs) {
    const Rgb dark = PixelAt(MustDecode(pair.darker), pair.x, pair.y);
    const Rgb light = PixelAt(MustDecode(pair.lighter), pair.x, pair.y);
    EXPECT_GT(light.r + light.g + light.b, dark.r + dark.g + dark.b + 30)
        << PictureName(pair.lighter) << " vs " << PictureName(pair.darker);
  }
}

// --- damaged input ----------------------------------------------------------------------------

Bytes Copy(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

Bytes Logo() {
  return Copy(Picture(PictureId::PicLogo));
}

std::size_t ScanBegin(const Bytes& jpeg) {
  const auto layout = testing::ReadLayout(jpeg);
  return layout ? layout->scan_begin : 0;
}

Bytes FirstBytes(Bytes bytes, std::size_t n) {
  bytes.resize(n);
  return bytes;
}

Bytes PseudoRandom(std::size_t n, std::uint32_t seed) {
  Bytes out(n);
  for (auto& b : out) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(seed >> 24);
  }
  return out;
}

// Inverts count bytes of the entropy-coded data from offset on, stopping short of EOI.
Bytes InvertScan(Bytes jpeg, std::size_t offset, std::size_t count) {
  const std::size_t from = ScanBegin(jpeg) + offset;
  const std::size_t to = std::min(from + std::min(count, jpeg.size()), jpeg.size() - 2);
  for (std::size_t i = from; i < to; ++i) jpeg[i] = static_cast<std::uint8_t>(~jpeg[i]);
  return jpeg;
}

// Rewrites the frame size in SOF0 (precision byte, then height, then width).
Bytes WithFrameSize(unsigned width, unsigned height) {
  Bytes jpeg = Logo();
  const auto layout = testing::ReadLayout(jpeg);
  for (const auto& s : layout->segments) {
    if (s.marker != 0xC0) continue;
    const auto at = static_cast<std::size_t>(s.payload.data() - jpeg.data());
    jpeg[at + 1] = static_cast<std::uint8_t>(height >> 8);
    jpeg[at + 2] = static_cast<std::uint8_t>(height);
    jpeg[at + 3] = static_cast<std::uint8_t>(width >> 8);
    jpeg[at + 4] = static_cast<std::uint8_t>(width);
  }
  return jpeg;
}

struct DamagedCase {
  const char* name;
  std::function<Bytes()> make;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
  *os << c.name;
}

const DamagedCase kDamaged[] = {
    {"Empty", [] { return Bytes{}; }},
    {"OnlyStartOfImage", [] { return FirstBytes(Logo(), 2); }},
    {"CutInsideTheHeader", [] { return FirstBytes(Logo(), 40); }},
    {"CutWhereTheScanBegins", [] { return FirstBytes(Logo(), ScanBegin(Logo())); }},
    // libjpeg pads a short scan with grey and only warns; that must not pass as a picture.
    {"CutHalfwayThroughTheScan", [] { return FirstBytes(Logo(), Logo().size() / 2); }},
    {"CutJustBeforeTheLastBlocks", [] { return FirstBytes(Logo(), Logo().size() - 40); }},
    {"Garbage", [] { return PseudoRandom(4096, 1); }},
    {"StartOfImageThenGarbage",
     [] {
       Bytes b = PseudoRandom(4096, 2);
       b[0] = 0xFF;
       b[1] = 0xD8;
       return b;
     }},
    // The headers stay intact in the next three; only the entropy-coded data is damaged.
    // Each reaches libjpeg's complaint by a different road: a marker it cannot know, a scan
    // that ends before the image is complete, and data left over once every block is decoded.
    // JPEG carries no checksum, so a change the Huffman decoder happens to resynchronise from
    // goes unnoticed by any decoder; these changes are ones it demonstrably does not.
    {"WholeScanInverted", [] { return InvertScan(Logo(), 0, SIZE_MAX); }},
    {"EndOfImageInsideTheScan",
     [] {
       Bytes b = Logo();
       const std::size_t middle = (ScanBegin(b) + b.size()) / 2;
       b[middle] = 0xFF;
       b[middle + 1] = 0xD9;
       return b;
     }},
    {"ScanStretchInverted",
     [] { return InvertScan(Copy(Picture(PictureId::PicToggleOn)), 100, 64); }},
    {"IconInsteadOfJpeg", [] { return Copy(IconMain()); }},
    {"PngSignature",
     [] { return Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'}; }},
    {"ZeroHeight", [] { return WithFrameSize(70, 0); }},
    {"ClaimsHugeSize", [] { return WithFrameSize(65535, 65535); }},
    {"ClaimsMorePixelsThanItHas", [] { return WithFrameSize(70, 620); }},
};

class DecodeDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DecodeDamaged, GivesNoPictureAndSaysNothing) {
  const Bytes input = GetParam().make();
  ::testing::internal::CaptureStderr();
  const auto bitmap = DecodeJpeg(input);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(bitmap.has_value()) << "decoded to " << bitmap->width << " x " << bitmap->height;
  EXPECT_EQ(said, "");
}

INSTANTIATE_TEST_SUITE_P(Inputs, DecodeDamaged, ::testing::ValuesIn(kDamaged),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DecodeJpeg, TrailingBytesAfterTheEndOfImageAreIgnored) {
  // The decoder stops at the end-of-image marker; what follows is none of its business.
  Bytes jpeg = Logo();
  const auto clean = DecodeJpeg(jpeg);
  jpeg.insert(jpeg.end(), {0x00, 0x13, 0x37});
  const auto padded = DecodeJpeg(jpeg);
  ASSERT_TRUE(clean.has_value());
  ASSERT_TRUE(padded.has_value());
  EXPECT_EQ(*clean, *padded);
}

}  // namespace
}  // namespace velmo::assets
