#include "ui/qt/canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmo::ui::qt {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

void Canvas::Draw(const QImage& image, const QRect& target) {
  if (image.isNull()) return;
  // The logo is drawn before the window is first shown, when no resize event
  // has come yet.
  if (surface_.size() != size()) GrowSurface();
  QPainter painter(&surface_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(target, image);
  update();
}

void Canvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, surface_);
}

void Canvas::resizeEvent(QResizeEvent*) {
  GrowSurface();
}

void Canvas::GrowSurface() {
  // The surface starts in the default background and keeps what was drawn.
  QImage grown(size(), QImage::Format_RGB32);
  grown.fill(palette().color(QPalette::Window));
  QPainter painter(&grown);
  painter.drawImage(0, 0, surface_);
  painter.end();
  surface_ = grown;
}

void Canvas::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && on_left_press_) on_left_press_();
}

}  // namespace velmo::ui::qt
