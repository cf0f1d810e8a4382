#include "ui/qt/picture_button.h"

#include <QEnterEvent>
#include <QPainter>

#include "assets/jpeg_decoder.h"

namespace velmo::ui::qt {

QImage DecodePicture(assets::PictureId picture) {
  const std::optional<assets::Bitmap> bitmap = assets::DecodeJpeg(assets::Picture(picture));
  if (!bitmap) return {};
  const QImage view(bitmap->rgb.data(), bitmap->width, bitmap->height, bitmap->width * 3,
                    QImage::Format_RGB888);
  return view.copy();  // the bitmap's bytes go away with it
}

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
}

void PictureButton::SetPicture(Slot slot, std::optional<assets::PictureId> picture) {
  const auto index = static_cast<std::size_t>(slot);
  ids_[index] = picture;
  images_[index] = picture ? DecodePicture(*picture) : QImage();
  update();
}

std::optional<assets::PictureId> PictureButton::Picture(Slot slot) const {
  return ids_[static_cast<std::size_t>(slot)];
}

PictureButton::Slot PictureButton::ShownSlot() const {
  Slot wanted = kNormal;
  if (!isEnabled()) {
    wanted = kDisabled;
  } else if (isDown()) {
    wanted = kPressed;
  } else if (hovered_) {
    wanted = kHover;
  }
  return images_[static_cast<std::size_t>(wanted)].isNull() ? kNormal : wanted;
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const QImage& image = images_[static_cast<std::size_t>(ShownSlot())];
  if (!image.isNull()) painter.drawImage(0, 0, image);
}

void PictureButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace velmo::ui::qt
