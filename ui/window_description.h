#pragma once
// The main window as data: its own settings and one row per control, in the
// order the controls are created. The Qt adapter builds every widget from these
// rows and the window tests walk the same rows, so a place or a colour is
// written down exactly once.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "assets/pictures.h"
#include "text/text.h"

namespace velmo::ui {

enum class ControlKind {
  kButton,
  kLabel,
  kEditBox,
  kPictureButton,
  kShapeBox,
  kGroupBox,
  kCanvas,
  kBrowserBox,
};

enum class Alignment { kLeft, kCentre, kRight };

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// 宋体 at a logical height; a control without a font of its own uses the
// window's default GUI font.
struct FontSetting {
  int height = 0;  // negative: the character height in pixels
  int weight = 400;
  friend bool operator==(const FontSetting&, const FontSetting&) = default;
};

struct ControlRow {
  text::Text name;
  ControlKind kind = ControlKind::kLabel;
  text::Text parent;  // empty: the main window itself
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  text::Text text;  // caption, label text or edit box content
  text::Text tag;   // the design-time tag
  std::optional<Rgb> text_colour;
  std::optional<Rgb> back_colour;
  std::optional<Rgb> outline_colour;  // shape boxes only
  Alignment alignment = Alignment::kLeft;
  std::optional<FontSetting> font;
  bool read_only = false;  // edit boxes
  bool border = true;      // edit boxes: sunken client edge, or none
  // Picture buttons: normal, hover, pressed, disabled.
  std::array<std::optional<assets::PictureId>, 4> pictures{};
};

struct WindowSettings {
  text::Text title;
  int outer_width = 0;
  int outer_height = 0;
  // 宋体 at 12 pixels: what the default GUI font is on a Chinese system.
  int default_font_pixels = 12;
};

const WindowSettings& MainWindowSettings();

// Every control, parents before their children. Built once, never changed.
const std::vector<ControlRow>& WindowDescription();

// The row of a control, or null for a name the window does not have.
const ControlRow* FindControlRow(const text::Text& name);

// The first control, in description order, whose design-time tag read as a
// decimal integer equals the value; an empty or non-numeric tag counts as 0.
const ControlRow* FindControlByDesignTag(int value);

// Control names and fixed addresses the handlers use (code page 936).
namespace names {
const text::Text& AddressBox();       // 编辑框_URL
const text::Text& AdvertOnConvert();  // 编辑框1
const text::Text& AdvertOnChange();   // 编辑框2
const text::Text& AdvertOnClear();    // 编辑框3
const text::Text& BrowserBox();       // 超文本浏览框1
const text::Text& LogoCanvas();       // 画板1
const text::Text& ConvertButton();    // 图形按钮1
const text::Text& MinimiseButton();   // 图形按钮2
const text::Text& CloseButton();      // 图形按钮3
const text::Text& MakerSiteButton();  // 按钮1
const text::Text& SaveButton();       // 按钮2
const text::Text& ClearButton();      // 按钮3
// 编辑框_短址n and 图形按钮(n+3) for service n from 1 to 9.
text::Text ResultBox(int service);
text::Text ServiceToggle(int service);
}  // namespace names

// The two outside pages opened in the user's browser.
text::Text MakerSiteAddress();
text::Text ForumAddress();

}  // namespace velmo::ui
