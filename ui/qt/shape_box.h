#pragma once
// A rectangle: its background colour with a solid one-pixel outline, no fill
// of its own and no 3-D edge. It also holds controls, like the options panel.

#include <QColor>
#include <QWidget>

namespace velmo::ui::qt {

class ShapeBox : public QWidget {
  Q_OBJECT

 public:
  ShapeBox(QWidget* parent, QColor background, QColor outline);
  QColor Background() const { return background_; }
  QColor Outline() const { return outline_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor background_;
  QColor outline_;
};

}  // namespace velmo::ui::qt
