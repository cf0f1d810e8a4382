#include "ui/window_events.h"

#include <array>

#include "text/text_ops.h"
#include "ui/window_description.h"

namespace velmo::ui {

using assets::PictureId;
using text::Text;

Window::~Window() = default;

void OnWindowCreated(Window& window) {
  window.DrawPicture(names::LogoCanvas(), PictureId::PicLogo, 0, 0, 30, 30);
  // The toggles are found by the tags they were designed with, not by name:
  // the tag then becomes the service's on/off state.
  for (int service = 1; service <= 9; ++service) {
    const ControlRow* toggle = FindControlByDesignTag(service);
    if (toggle == nullptr) continue;
    window.SetPictures(toggle->name, PictureId::PicToggleOn, PictureId::PicToggleOnHover);
    window.WriteTag(toggle->name, "0");
  }
}

void ToggleService(Window& window, const Text& toggle) {
  if (text::CompareText(window.ReadTag(toggle), "1") == 0) {
    window.SetPictures(toggle, PictureId::PicToggleOn, PictureId::PicToggleOnHover);
    window.WriteTag(toggle, "0");
  } else {
    // Any tag but "1" counts as on, so a click always leaves a known state.
    window.SetPictures(toggle, PictureId::PicToggleOff, PictureId::PicToggleOffHover);
    window.WriteTag(toggle, "1");
  }
}

void ShowAdvert(Window& window, const Text& holder_box) {
  window.Navigate(window.ReadText(holder_box));
}

void OnAddressTextChanged(Window& window) {
  ShowAdvert(window, names::AdvertOnChange());
}

void ClearAll(Window& window) {
  ShowAdvert(window, names::AdvertOnClear());
  // The saved boxes first in file order, then the three beyond the initial
  // area, and the address box last: its write fires OnAddressTextChanged,
  // which replaces the page just asked for with the one of 编辑框2.
  constexpr std::array kOrder = {5, 2, 3, 4, 6, 9, 1, 7, 8};
  for (int service : kOrder) window.WriteText(names::ResultBox(service), Text());
  window.WriteText(names::AddressBox(), Text());
}

void OpenMakerSite(Window& window) {
  window.OpenInBrowser(MakerSiteAddress());
}

void OpenForumPage(Window& window) {
  window.OpenInBrowser(ForumAddress());
}

void MinimiseWindow(Window& window) {
  window.Minimise();
}

void CloseMainWindow(Window& window) {
  window.PostClose();
}

}  // namespace velmo::ui
