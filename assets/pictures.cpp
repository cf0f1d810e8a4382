#include "assets/pictures.h"

#include "embedded_files.h"  // generated at build time from the files in assets/pictures/

namespace velmo::assets {

std::span<const std::uint8_t> Picture(PictureId id) noexcept {
  switch (id) {
    case PictureId::PicToggleOn:
      return embedded::kPicToggleOn;
    case PictureId::PicToggleOnHover:
      return embedded::kPicToggleOnHover;
    case PictureId::PicToggleOff:
      return embedded::kPicToggleOff;
    case PictureId::PicToggleOffHover:
      return embedded::kPicToggleOffHover;
    case PictureId::PicLogo:
      return embedded::kPicLogo;
    case PictureId::PicConvertNormal:
      return embedded::kPicConvertNormal;
    case PictureId::PicConvertHover:
      return embedded::kPicConvertHover;
    case PictureId::PicConvertPressed:
      return embedded::kPicConvertPressed;
    case PictureId::PicCloseNormal:
      return embedded::kPicCloseNormal;
    case PictureId::PicCloseHover:
      return embedded::kPicCloseHover;
    case PictureId::PicMinimiseNormal:
      return embedded::kPicMinimiseNormal;
    case PictureId::PicMinimiseHover:
      return embedded::kPicMinimiseHover;
  }
  return {};
}

std::string_view PictureName(PictureId id) noexcept {
  switch (id) {
    case PictureId::PicToggleOn:
      return "PicToggleOn";
    case PictureId::PicToggleOnHover:
      return "PicToggleOnHover";
    case PictureId::PicToggleOff:
      return "PicToggleOff";
    case PictureId::PicToggleOffHover:
      return "PicToggleOffHover";
    case PictureId::PicLogo:
      return "PicLogo";
    case PictureId::PicConvertNormal:
      return "PicConvertNormal";
    case PictureId::PicConvertHover:
      return "PicConvertHover";
    case PictureId::PicConvertPressed:
      return "PicConvertPressed";
    case PictureId::PicCloseNormal:
      return "PicCloseNormal";
    case PictureId::PicCloseHover:
      return "PicCloseHover";
    case PictureId::PicMinimiseNormal:
      return "PicMinimiseNormal";
    case PictureId::PicMinimiseHover:
      return "PicMinimiseHover";
  }
  return {};
}

std::span<const std::uint8_t> IconMain() noexcept {
  return embedded::kIconMain;
}

}  // namespace velmo::assets
