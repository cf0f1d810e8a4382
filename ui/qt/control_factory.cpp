#include "ui/qt/control_factory.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/qt/canvas.h"
#include "ui/qt/picture_button.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/shape_box.h"

namespace velmo::ui::qt {

namespace {

Qt::Alignment ToQtAlignment(Alignment alignment) {
  switch (alignment) {
    case Alignment::kCentre:
      return Qt::AlignHCenter;
    case Alignment::kRight:
      return Qt::AlignRight;
    case Alignment::kLeft:
      break;
  }
  return Qt::AlignLeft;
}

QWidget* CreateLabel(const ControlRow& row, QWidget* parent) {
  auto* label = new QLabel(ToQString(row.text), parent);
  label->setAlignment(ToQtAlignment(row.alignment) | Qt::AlignVCenter);
  label->setWordWrap(false);
  label->setFrameShape(QFrame::NoFrame);
  label->setTextFormat(Qt::PlainText);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(row.text_colour.value_or(Rgb{})));
  if (row.back_colour) {
    palette.setColor(QPalette::Window, ToQColor(*row.back_colour));
    label->setAutoFillBackground(true);
  }
  label->setPalette(palette);
  return label;
}

QWidget* CreateEdit(const ControlRow& row, QWidget* parent) {
  auto* edit = new QLineEdit(ToQString(row.text), parent);
  edit->setReadOnly(row.read_only);
  edit->setFrame(row.border);
  edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  edit->setEchoMode(QLineEdit::Normal);
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  edit->setPalette(palette);
  edit->setCursorPosition(0);
  return edit;
}

}  // namespace

QStringList SongFamilies() {
  return {"SimSun",
          "宋体",
          "NSimSun",
          "AR PL UMing CN",
          "AR PL SungtiL GB",
          "Noto Serif CJK SC",
          "WenQuanYi Micro Hei",
          "Noto Sans CJK SC"};
}

QFont SongFont(int pixel_size, int weight) {
  QFont font;
  font.setFamilies(SongFamilies());
  font.setPixelSize(pixel_size);
  font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
  return font;
}

QWidget* CreateControl(const ControlRow& row, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::kButton: {
      auto* button = new QPushButton(ToQString(row.text), parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      widget = button;
      break;
    }
    case ControlKind::kLabel:
      widget = CreateLabel(row, parent);
      break;
    case ControlKind::kEditBox:
      widget = CreateEdit(row, parent);
      break;
    case ControlKind::kPictureButton: {
      auto* button = new PictureButton(parent);
      for (int slot = 0; slot < 4; ++slot) {
        button->SetPicture(static_cast<PictureButton::Slot>(slot),
                           row.pictures[static_cast<std::size_t>(slot)]);
      }
      widget = button;
      break;
    }
    case ControlKind::kShapeBox:
      widget = new ShapeBox(parent, ToQColor(row.back_colour.value_or(Rgb{})),
                            ToQColor(row.outline_colour.value_or(Rgb{})));
      break;
    case ControlKind::kGroupBox:
      widget = new QGroupBox(QString(), parent);
      break;
    case ControlKind::kCanvas:
      widget = new Canvas(parent);
      break;
    case ControlKind::kBrowserBox:
      return nullptr;
  }
  widget->setObjectName(ToQString(row.name));
  if (row.font) widget->setFont(SongFont(-row.font->height, row.font->weight));
  widget->setGeometry(row.left, row.top, row.width, row.height);
  // A shape is drawn on its parent's surface, under every control that lies
  // over it: the result boxes and labels of services 7 and 8 sit on the
  // options panel.
  if (row.kind == ControlKind::kShapeBox) widget->lower();
  return widget;
}

}  // namespace velmo::ui::qt
