#include "ui/qt/shape_box.h"

#include <QPainter>

namespace velmo::ui::qt {

ShapeBox::ShapeBox(QWidget* parent, QColor background, QColor outline)
    : QWidget(parent), background_(background), outline_(outline) {}

void ShapeBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), background_);
  painter.setPen(QPen(outline_, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace velmo::ui::qt
