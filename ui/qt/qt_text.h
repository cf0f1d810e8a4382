#pragma once
// Between the window's code page 936 texts and Qt's strings and colours.

#include <QColor>
#include <QString>

#include "text/text.h"
#include "ui/window_description.h"

namespace velmo::ui::qt {

QString ToQString(const text::Text& text);
// Characters code page 936 cannot hold become '?', as they would on Windows.
text::Text FromQString(const QString& string);
QColor ToQColor(Rgb colour);

}  // namespace velmo::ui::qt
