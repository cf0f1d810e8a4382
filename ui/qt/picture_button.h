#pragma once
// A button drawn from up to four pictures over black: normal, hover (mouse
// over it, no button held), pressed (left button held on it) and disabled. A
// state without a picture shows the normal one, and no picture at all shows
// black. Pictures are decoded once, when set.

#include <QAbstractButton>
#include <QImage>
#include <array>
#include <optional>

#include "assets/pictures.h"

namespace velmo::ui::qt {

class PictureButton : public QAbstractButton {
  Q_OBJECT

 public:
  enum Slot { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

  explicit PictureButton(QWidget* parent);

  void SetPicture(Slot slot, std::optional<assets::PictureId> picture);
  std::optional<assets::PictureId> Picture(Slot slot) const;
  // The state whose picture shows now, after falling back to normal.
  Slot ShownSlot() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  std::array<std::optional<assets::PictureId>, 4> ids_{};
  std::array<QImage, 4> images_{};
  bool hovered_ = false;
};

// A stored JPEG as an image; a null image when it cannot be decoded.
QImage DecodePicture(assets::PictureId picture);

}  // namespace velmo::ui::qt
