#include "ui/qt/qt_text.h"

#include <QByteArray>

#include "text/codepage.h"

namespace velmo::ui::qt {

QString ToQString(const text::Text& text) {
  const text::Text utf8 = text::AnsiToUtf8(text);
  return QString::fromUtf8(utf8.view().data(), static_cast<qsizetype>(utf8.size()));
}

text::Text FromQString(const QString& string) {
  const QByteArray utf8 = string.toUtf8();
  return text::Utf8ToAnsi(
      text::Text(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

QColor ToQColor(Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace velmo::ui::qt
