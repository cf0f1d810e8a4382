#pragma once
// The pictures the window shows and the program icon. They are compiled into the program, so
// nothing is read from disk at run time and every picture is there for the whole run.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace velmo::assets {

enum class PictureId {
  PicToggleOn,        // a ticked check box: a service toggle that is on
  PicToggleOnHover,   // the same with a blue frame, under the mouse
  PicToggleOff,       // an empty check box: a service toggle that is off
  PicToggleOffHover,  // the same with a blue frame, under the mouse
  PicLogo,            // a circular blue emblem on white, drawn small into the logo canvas
  PicConvertNormal,   // 一键缩短 in white on a green plate
  PicConvertHover,    // the plate a shade lighter
  PicConvertPressed,  // the plate a shade darker, text pushed down
  PicCloseNormal,     // a white cross on blue
  PicCloseHover,      // the cross on a lighter blue
  PicMinimiseNormal,  // a short white bar on blue
  PicMinimiseHover,   // the bar on a lighter blue
};

inline constexpr std::array kAllPictures = {
    PictureId::PicToggleOn,       PictureId::PicToggleOnHover,  PictureId::PicToggleOff,
    PictureId::PicToggleOffHover, PictureId::PicLogo,           PictureId::PicConvertNormal,
    PictureId::PicConvertHover,   PictureId::PicConvertPressed, PictureId::PicCloseNormal,
    PictureId::PicCloseHover,     PictureId::PicMinimiseNormal, PictureId::PicMinimiseHover,
};

// The picture's JPEG file, byte for byte. Empty only for a value outside the enumeration.
std::span<const std::uint8_t> Picture(PictureId id) noexcept;

// The picture's name as the window description spells it, e.g. "PicToggleOn".
std::string_view PictureName(PictureId id) noexcept;

// The program icon as a whole .ico file: one 32 x 32 image with an alpha channel.
std::span<const std::uint8_t> IconMain() noexcept;

}  // namespace velmo::assets
