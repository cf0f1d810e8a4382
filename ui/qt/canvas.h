#pragma once
// A drawing surface that keeps what was drawn on it, with the hand pointer.
// A left-button press, not the release, is its event.

#include <QImage>
#include <QWidget>
#include <functional>

namespace velmo::ui::qt {

class Canvas : public QWidget {
  Q_OBJECT

 public:
  explicit Canvas(QWidget* parent);

  // A plain copy of the image, stretched to the rectangle.
  void Draw(const QImage& image, const QRect& target);
  const QImage& Surface() const { return surface_; }
  void OnLeftPress(std::function<void()> handler) { on_left_press_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void GrowSurface();

  QImage surface_;
  std::function<void()> on_left_press_;
};

}  // namespace velmo::ui::qt
