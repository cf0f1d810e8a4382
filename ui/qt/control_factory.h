#pragma once
// One widget per description row, with every setting of the row.

#include <QFont>
#include <QWidget>

#include "ui/window_description.h"

namespace velmo::ui::qt {

// 宋体 by a list of families, so that a system without SimSun falls back to a
// Song-style face and then to any face that has the Chinese characters.
QFont SongFont(int pixel_size, int weight);
QStringList SongFamilies();

// The widget of the row, placed in the parent; null for the browser box, which
// the window creates itself once it is on screen.
QWidget* CreateControl(const ControlRow& row, QWidget* parent);

}  // namespace velmo::ui::qt
