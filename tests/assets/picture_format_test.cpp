// The embedded files themselves: each picture is the baseline JPEG the window expects, and
// the icon is laid out the way Windows reads it. Read straight from the bytes, not decoded.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "assets/pictures.h"
#include "expected_pictures.h"
#include "jpeg_segments.h"

namespace velmo::assets {
namespace {

using testing::BigEndian16;
using testing::ExpectedPicture;
using testing::kExpectedPictures;
using testing::ReadLayout;

std::uint32_t LittleEndian32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
         static_cast<std::uint32_t>(b[at + 3]) << 24;
}

unsigned LittleEndian16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<unsigned>(b[at] | b[at + 1] << 8);
}

class PictureFormat : public ::testing::TestWithParam<ExpectedPicture> {};

TEST_P(PictureFormat, IsBaselineEightBitYCbCrWithoutSubsampling) {
  const ExpectedPicture want = GetParam();
  const auto jpeg = Picture(want.id);
  ASSERT_GE(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9) << "file must end with EOI";

  const auto layout = ReadLayout(jpeg);
  ASSERT_TRUE(layout.has_value()) << "marker segments do not parse";

  // Every start-of-frame marker (C0-CF except DHT C4, JPG C8, DAC CC); only SOF0 may appear.
  std::vector<testing::Segment> frames;
  for (const auto& s : layout->segments) {
    if (s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 &&
        s.marker != 0xCC) {
      frames.push_back(s);
    }
  }
  ASSERT_EQ(frames.size(), 1u);
  ASSERT_EQ(frames[0].marker, 0xC0) << "not baseline";

  const auto sof = frames[0].payload;
  ASSERT_EQ(sof.size(), 6u + 3u * 3u);
  EXPECT_EQ(sof[0], 8) << "sample precision";
  EXPECT_EQ(static_cast<int>(BigEndian16(sof, 1)), want.height);
  EXPECT_EQ(static_cast<int>(BigEndian16(sof, 3)), want.width);
  ASSERT_EQ(sof[5], 3) << "component count";
  for (std::size_t c = 0; c < 3; ++c) {
    EXPECT_EQ(sof[6 + 3 * c], c + 1) << "component ids 1, 2, 3 mean Y, Cb, Cr under JFIF";
    EXPECT_EQ(sof[7 + 3 * c], 0x11) << "component " << c + 1 << " is subsampled";
  }
}

INSTANTIATE_TEST_SUITE_P(Embedded, PictureFormat, ::testing::ValuesIn(kExpectedPictures),
                         [](const auto& row) { return std::string(PictureName(row.param.id)); });

std::vector<ExpectedPicture> SmallPictures() {
  std::vector<ExpectedPicture> small;
  for (const auto& p : kExpectedPictures) {
    if (p.jfif_96dpi) small.push_back(p);
  }
  return small;
}

class SmallPictureHeader : public ::testing::TestWithParam<ExpectedPicture> {};

TEST_P(SmallPictureHeader, IsJfif101At96Dpi) {
  const auto layout = ReadLayout(Picture(GetParam().id));
  ASSERT_TRUE(layout.has_value());
  ASSERT_FALSE(layout->segments.empty());

  const testing::Segment& app0 = layout->segments.front();
  ASSERT_EQ(app0.marker, 0xE0) << "JFIF must directly follow SOI";
  ASSERT_GE(app0.payload.size(), 14u);
  const auto p = app0.payload;
  EXPECT_EQ(std::string(p.begin(), p.begin() + 5), std::string("JFIF\0", 5));
  EXPECT_EQ(p[5], 1) << "major version";
  EXPECT_EQ(p[6], 1) << "minor version";
  EXPECT_EQ(p[7], 1) << "density unit must be dots per inch";
  EXPECT_EQ(BigEndian16(p, 8), 96u);
  EXPECT_EQ(BigEndian16(p, 10), 96u);
}

INSTANTIATE_TEST_SUITE_P(Embedded, SmallPictureHeader, ::testing::ValuesIn(SmallPictures()),
                         [](const auto& row) { return std::string(PictureName(row.param.id)); });

TEST(Pictures, EveryNameHasItsOwnFile) {
  // A slip in the embedding table would hand two names the same file.
  std::set<std::vector<std::uint8_t>> seen;
  for (const PictureId id : kAllPictures) {
    const auto bytes = Picture(id);
    EXPECT_TRUE(seen.emplace(bytes.begin(), bytes.end()).second) << PictureName(id);
  }
}

TEST(Pictures, MinimisePicturesDifferInTheirBytes) {
  const auto normal = Picture(PictureId::PicMinimiseNormal);
  const auto hover = Picture(PictureId::PicMinimiseHover);
  EXPECT_FALSE(std::equal(normal.begin(), normal.end(), hover.begin(), hover.end()));
}

TEST(IconMain, IsOne32x32BgraImageWithAClearMask) {
  const auto ico = IconMain();
  ASSERT_EQ(ico.size(), 4286u);

  // ICONDIR: reserved, type 1 (icon), one image.
  EXPECT_EQ(LittleEndian16(ico, 0), 0u);
  EXPECT_EQ(LittleEndian16(ico, 2), 1u);
  EXPECT_EQ(LittleEndian16(ico, 4), 1u);

  // ICONDIRENTRY: 32 x 32, no palette, one plane, 32 bits, its size, right after the entry.
  EXPECT_EQ(ico[6], 32);
  EXPECT_EQ(ico[7], 32);
  EXPECT_EQ(ico[8], 0);
  EXPECT_EQ(ico[9], 0);
  EXPECT_EQ(LittleEndian16(ico, 10), 1u);
  EXPECT_EQ(LittleEndian16(ico, 12), 32u);
  EXPECT_EQ(LittleEndian32(ico, 14), 40u + 4096u + 128u);
  EXPECT_EQ(LittleEndian32(ico, 18), 22u);

  // BITMAPINFOHEADER: the height counts the colour rows and the mask rows together.
  constexpr std::size_t kBmp = 22;
  EXPECT_EQ(LittleEndian32(ico, kBmp), 40u);
  EXPECT_EQ(LittleEndian32(ico, kBmp + 4), 32u);
  EXPECT_EQ(LittleEndian32(ico, kBmp + 8), 64u);
  EXPECT_EQ(LittleEndian16(ico, kBmp + 12), 1u);
  EXPECT_EQ(LittleEndian16(ico, kBmp + 14), 32u);
  EXPECT_EQ(LittleEndian32(ico, kBmp + 16), 0u) << "uncompressed";

  const auto mask = ico.subspan(kBmp + 40 + 4096);
  ASSERT_EQ(mask.size(), 128u);
  EXPECT_TRUE(std::all_of(mask.begin(), mask.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(IconMain, ShowsOrangeShapesOnATransparentGround) {
  const auto pixels = IconMain().subspan(22 + 40, 4096);
  int transparent = 0;
  int visible = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    const int b = pixels[i], g = pixels[i + 1], r = pixels[i + 2], a = pixels[i + 3];
    if (a == 0) ++transparent;
    // Everything visible is orange: red over green over blue, in BGRA order.
    if (a >= 128) {
      ++visible;
      EXPECT_GT(r, g) << "pixel " << i / 4;
      EXPECT_GE(g, b) << "pixel " << i / 4;
    }
  }
  // Both the arrows and the see-through background take up a fair part of the square.
  EXPECT_GT(transparent, 256);
  EXPECT_GT(visible, 256);
  EXPECT_EQ(pixels[3], 0) << "bottom-left corner is see-through";
}

}  // namespace
}  // namespace velmo::assets
