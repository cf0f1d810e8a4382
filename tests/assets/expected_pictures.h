#pragma once
// What each picture must be, written down independently of the pictures themselves.

#include <array>
#include <ostream>

#include "assets/pictures.h"

namespace velmo::assets::testing {

struct ExpectedPicture {
  PictureId id;
  int width;
  int height;
  bool jfif_96dpi;  // the small button pictures carry a JFIF 1.01 header at 96 x 96 dpi
};

inline void PrintTo(const ExpectedPicture& p, std::ostream* os) {
  *os << PictureName(p.id) << " " << p.width << "x" << p.height;
}

inline constexpr std::array<ExpectedPicture, 12> kExpectedPictures = {{
    {PictureId::PicToggleOn, 13, 13, true},
    {PictureId::PicToggleOnHover, 13, 13, true},
    {PictureId::PicToggleOff, 13, 13, true},
    {PictureId::PicToggleOffHover, 13, 13, true},
    {PictureId::PicLogo, 70, 62, false},
    {PictureId::PicConvertNormal, 164, 50, false},
    {PictureId::PicConvertHover, 164, 50, false},
    {PictureId::PicConvertPressed, 164, 50, false},
    {PictureId::PicCloseNormal, 18, 18, true},
    {PictureId::PicCloseHover, 18, 18, true},
    {PictureId::PicMinimiseNormal, 33, 12, true},
    {PictureId::PicMinimiseHover, 33, 12, true},
}};

}  // namespace velmo::assets::testing
