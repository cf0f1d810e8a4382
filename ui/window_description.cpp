#include "ui/window_description.h"

#include <string>
#include <utility>

#include "core/service_catalogue.h"
#include "text/codepage.h"
#include "text/text_ops.h"

namespace velmo::ui {

using assets::PictureId;
using text::Text;

namespace {

// The table is easier to read with its Chinese written out; the window keeps
// every text in code page 936, so each literal is converted once, here.
Text Gbk(const char* utf8) {
  return text::Utf8ToAnsi(Text(utf8));
}

Text Numbered(const char* utf8_name, int number) {
  return text::JoinText(Gbk(utf8_name), Text(std::to_string(number)));
}

constexpr Rgb kBlack{0x00, 0x00, 0x00};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
constexpr Rgb kRed{0xFF, 0x00, 0x00};
constexpr Rgb kPanelBlue{0x28, 0x71, 0xD5};
constexpr Rgb kSubtitleBlue{0x2D, 0x71, 0xD5};
constexpr Rgb kCyan{0x00, 0xFF, 0xFF};
constexpr Rgb kRowBlue{0x12, 0x84, 0xF6};

ControlRow Row(Text name, ControlKind kind, Text parent, int left, int top, int width, int height) {
  ControlRow row;
  row.name = std::move(name);
  row.kind = kind;
  row.parent = std::move(parent);
  row.left = left;
  row.top = top;
  row.width = width;
  row.height = height;
  return row;
}

ControlRow Label(Text name, Text parent, int left, int top, int width, int height, Text caption,
                 Alignment alignment, Rgb colour = kBlack) {
  ControlRow row =
      Row(std::move(name), ControlKind::kLabel, std::move(parent), left, top, width, height);
  row.text = std::move(caption);
  row.alignment = alignment;
  row.text_colour = colour;
  return row;
}

ControlRow Edit(Text name, int left, int top, int width, int height, Text content = Text()) {
  ControlRow row = Row(std::move(name), ControlKind::kEditBox, Text(), left, top, width, height);
  row.text = std::move(content);
  return row;
}

ControlRow ResultEdit(int service, int left, int top, bool border) {
  ControlRow row = Edit(names::ResultBox(service), left, top, 216, 24);
  row.read_only = true;
  row.border = border;
  return row;
}

ControlRow ServiceLabel(const core::Catalogue& catalogue, int service, int left, int top,
                        bool on_panel_colours) {
  ControlRow row =
      Label(Numbered("标签", service + 1), Text(), left, top, 53, 20,
            text::JoinText(catalogue[static_cast<std::size_t>(service - 1)].label, ":"),
            Alignment::kRight, on_panel_colours ? kWhite : kBlack);
  if (on_panel_colours) row.back_colour = kPanelBlue;
  return row;
}

ControlRow PictureButton(Text name, Text parent, int left, int top, int width, int height,
                         std::optional<PictureId> normal, std::optional<PictureId> hover,
                         std::optional<PictureId> pressed = std::nullopt) {
  ControlRow row = Row(std::move(name), ControlKind::kPictureButton, std::move(parent), left, top,
                       width, height);
  row.pictures = {normal, hover, pressed, std::nullopt};
  return row;
}

ControlRow ShapeBox(Text name, Text parent, int left, int top, int width, int height, Rgb back,
                    Rgb outline) {
  ControlRow row =
      Row(std::move(name), ControlKind::kShapeBox, std::move(parent), left, top, width, height);
  row.back_colour = back;
  row.outline_colour = outline;
  return row;
}

std::vector<ControlRow> BuildDescription() {
  const core::Catalogue catalogue = core::DefaultCatalogue();
  const Text window;
  const Text group = Gbk("分组框1");
  const Text panel = Gbk("外形框1");
  std::vector<ControlRow> rows;

  ControlRow address_label =
      Label(Gbk("标签1"), window, 10, 93, 46, 24, Gbk("网址:"), Alignment::kLeft);
  address_label.font = FontSetting{-16, 400};
  rows.push_back(address_label);

  ControlRow address = Edit(names::AddressBox(), 57, 96, 215, 24, "http://velmo.example");
  address.font = FontSetting{-14, 400};
  rows.push_back(address);

  rows.push_back(PictureButton(names::ConvertButton(), window, 54, 129, 164, 50,
                               PictureId::PicConvertNormal, PictureId::PicConvertHover,
                               PictureId::PicConvertPressed));

  ControlRow save = Row(names::SaveButton(), ControlKind::kButton, window, 280, 96, 64, 32);
  save.text = Gbk("网址保存");
  rows.push_back(save);
  ControlRow clear = Row(names::ClearButton(), ControlKind::kButton, window, 352, 96, 72, 32);
  clear.text = Gbk("全部清空");
  rows.push_back(clear);
  ControlRow maker = Row(names::MakerSiteButton(), ControlKind::kButton, window, 568, 8, 104, 80);
  maker.text = Gbk("官方网站");
  rows.push_back(maker);

  rows.push_back(Label(Gbk("标签13"), window, 272, 144, 392, 24,
                       Gbk("推广链接专用转换工具    联系: support@velmo.example"), Alignment::kLeft,
                       kRed));

  rows.push_back(Row(group, ControlKind::kGroupBox, window, -8, 176, 688, 256));
  rows.push_back(Row(names::BrowserBox(), ControlKind::kBrowserBox, group, -16, 8, 1350, 3500));

  rows.push_back(ResultEdit(5, 57, 9, true));
  rows.push_back(ResultEdit(2, 57, 37, true));
  rows.push_back(ResultEdit(3, 57, 65, true));
  rows.push_back(ResultEdit(4, 345, 5, true));
  rows.push_back(ResultEdit(6, 345, 37, true));
  rows.push_back(ResultEdit(9, 345, 65, true));
  rows.push_back(ServiceLabel(catalogue, 5, -1, 9, false));
  rows.push_back(ServiceLabel(catalogue, 2, -1, 37, false));
  rows.push_back(ServiceLabel(catalogue, 3, -1, 65, false));
  rows.push_back(ServiceLabel(catalogue, 4, 287, 5, false));
  rows.push_back(ServiceLabel(catalogue, 6, 287, 38, false));
  rows.push_back(ServiceLabel(catalogue, 9, 287, 66, false));
  rows.push_back(ResultEdit(1, 753, 217, false));
  rows.push_back(ServiceLabel(catalogue, 1, 695, 216, true));
  rows.push_back(ResultEdit(7, 793, 321, false));
  rows.push_back(ServiceLabel(catalogue, 7, 735, 321, true));
  rows.push_back(ResultEdit(8, 785, 397, false));
  rows.push_back(ServiceLabel(catalogue, 8, 727, 397, true));

  rows.push_back(
      Edit(names::AdvertOnConvert(), 512, 496, 144, 32, "http://ads.velmo.example/?wzzh"));
  rows.push_back(
      Edit(names::AdvertOnChange(), 336, 512, 152, 24, "http://ads2.velmo.example/?wzzh"));
  rows.push_back(Edit(names::AdvertOnClear(), 56, 472, 216, 32, "http://velmo.example/bbs/?wzzh"));

  rows.push_back(PictureButton(names::MinimiseButton(), window, 707, 37, 33, 12,
                               PictureId::PicMinimiseNormal, PictureId::PicMinimiseHover));
  rows.push_back(PictureButton(names::CloseButton(), window, 723, 18, 18, 18,
                               PictureId::PicCloseNormal, PictureId::PicCloseHover));

  rows.push_back(ShapeBox(panel, window, 744, 240, 688, 464, kPanelBlue, kBlack));
  rows.push_back(Row(names::LogoCanvas(), ControlKind::kCanvas, panel, 8, 8, 30, 30));

  ControlRow title =
      Label(Gbk("标签11"), panel, 41, 12, 263, 24, Gbk("网址缩短"), Alignment::kLeft, kWhite);
  title.back_colour = kPanelBlue;
  title.font = FontSetting{-16, 700};
  rows.push_back(title);
  ControlRow subtitle = Label(Gbk("标签12"), panel, 107, 40, 144, 24, Gbk("九家服务 一键缩短"),
                              Alignment::kCentre, kCyan);
  subtitle.back_colour = kSubtitleBlue;
  subtitle.font = FontSetting{-12, 700};
  rows.push_back(subtitle);

  constexpr std::array<Rgb, 9> kRowOutlines = {{{0xFF, 0xFF, 0x00},
                                                {0x00, 0xFF, 0x00},
                                                {0x00, 0xFF, 0xFF},
                                                {0xC0, 0x60, 0x00},
                                                {0xFF, 0x00, 0xFF},
                                                {0xD3, 0x0A, 0x88},
                                                {0xFF, 0x50, 0x80},
                                                {0xFF, 0x00, 0x00},
                                                {0xFF, 0x00, 0xFF}}};
  for (int k = 2; k <= 10; ++k) {
    rows.push_back(ShapeBox(Numbered("外形框", k), panel, 80, 136 + 28 * (k - 2), 218, 26, kRowBlue,
                            kRowOutlines[static_cast<std::size_t>(k - 2)]));
  }

  constexpr std::array<int, 9> kToggleTops = {142, 169, 199, 227, 256, 283, 310, 338, 368};
  for (int service = 1; service <= 9; ++service) {
    ControlRow toggle = PictureButton(names::ServiceToggle(service), panel, 303,
                                      kToggleTops[static_cast<std::size_t>(service - 1)], 13, 13,
                                      std::nullopt, std::nullopt);
    toggle.tag = Text(std::to_string(service));
    rows.push_back(toggle);
  }
  return rows;
}

}  // namespace

const WindowSettings& MainWindowSettings() {
  static const WindowSettings settings{Gbk("Velmo网址缩短工具"), 677, 465, 12};
  return settings;
}

const std::vector<ControlRow>& WindowDescription() {
  static const std::vector<ControlRow> rows = BuildDescription();
  return rows;
}

const ControlRow* FindControlRow(const Text& name) {
  for (const ControlRow& row : WindowDescription()) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

const ControlRow* FindControlByDesignTag(int value) {
  for (const ControlRow& row : WindowDescription()) {
    if (text::ToInteger(row.tag) == value) return &row;
  }
  return nullptr;
}

namespace names {

#define VELMO_CONTROL_NAME(function, utf8) \
  const Text& function() {                 \
    static const Text name = Gbk(utf8);    \
    return name;                           \
  }

VELMO_CONTROL_NAME(AddressBox, "编辑框_URL")
VELMO_CONTROL_NAME(AdvertOnConvert, "编辑框1")
VELMO_CONTROL_NAME(AdvertOnChange, "编辑框2")
VELMO_CONTROL_NAME(AdvertOnClear, "编辑框3")
VELMO_CONTROL_NAME(BrowserBox, "超文本浏览框1")
VELMO_CONTROL_NAME(LogoCanvas, "画板1")
VELMO_CONTROL_NAME(ConvertButton, "图形按钮1")
VELMO_CONTROL_NAME(MinimiseButton, "图形按钮2")
VELMO_CONTROL_NAME(CloseButton, "图形按钮3")
VELMO_CONTROL_NAME(MakerSiteButton, "按钮1")
VELMO_CONTROL_NAME(SaveButton, "按钮2")
VELMO_CONTROL_NAME(ClearButton, "按钮3")

#undef VELMO_CONTROL_NAME

Text ResultBox(int service) {
  return Numbered("编辑框_短址", service);
}
Text ServiceToggle(int service) {
  return Numbered("图形按钮", service + 3);
}

}  // namespace names

Text MakerSiteAddress() {
  return "http://velmo.example";
}
Text ForumAddress() {
  return "http://bbs.velmo.example/";
}

}  // namespace velmo::ui
