// Every control of the real window against its description row, and the
// window's own settings.
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWebEngineView>

#include "tests/ui/qt_window_fixture.h"
#include "text/codepage.h"
#include "ui/qt/canvas.h"
#include "ui/qt/picture_button.h"
#include "ui/qt/shape_box.h"

namespace velmo::ui::qt::test {
namespace {

std::string Utf8(const text::Text& text) {
  return text::AnsiToUtf8(text).str();
}

bool IsKind(QWidget* widget, ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
      return qobject_cast<QPushButton*>(widget) != nullptr;
    case ControlKind::kLabel:
      return qobject_cast<QLabel*>(widget) != nullptr;
    case ControlKind::kEditBox:
      return qobject_cast<QLineEdit*>(widget) != nullptr;
    case ControlKind::kPictureButton:
      return qobject_cast<PictureButton*>(widget) != nullptr;
    case ControlKind::kShapeBox:
      return qobject_cast<ShapeBox*>(widget) != nullptr;
    case ControlKind::kGroupBox:
      return qobject_cast<QGroupBox*>(widget) != nullptr;
    case ControlKind::kCanvas:
      return qobject_cast<Canvas*>(widget) != nullptr;
    case ControlKind::kBrowserBox:
      return qobject_cast<QWebEngineView*>(widget) != nullptr;
  }
  return false;
}

using LayoutTest = QtWindowTest;

TEST_F(LayoutTest, EveryWidgetMatchesItsDescriptionRow) {
  MainWindow& window = Open();
  window.CreateWebView();
  const QColor button_face = window.palette().color(QPalette::Button);
  ASSERT_EQ(WindowDescription().size(), 54u);
  for (const ControlRow& row : WindowDescription()) {
    SCOPED_TRACE(Utf8(row.name));
    QWidget* widget = window.findChild<QWidget*>(ToQString(row.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget, window.Control(row.name));
    EXPECT_TRUE(IsKind(widget, row.kind));
    QWidget* parent = row.parent.empty() ? &window : window.Control(row.parent);
    EXPECT_EQ(widget->parentWidget(), parent);
    EXPECT_EQ(widget->geometry(), QRect(row.left, row.top, row.width, row.height));
    EXPECT_TRUE(widget->isVisibleTo(&window)) << "every control is created visible";
    EXPECT_TRUE(widget->isEnabled());
    EXPECT_EQ(window.ReadText(row.name), row.text);
    EXPECT_EQ(window.ReadTag(row.name), row.kind == ControlKind::kPictureButton && !row.tag.empty()
                                            ? text::Text("0")
                                            : row.tag);

    const bool tab_stop = row.kind == ControlKind::kButton || row.kind == ControlKind::kEditBox ||
                          row.kind == ControlKind::kBrowserBox;
    EXPECT_EQ((widget->focusPolicy() & Qt::TabFocus) != 0, tab_stop);

    const QFont font = widget->font();
    EXPECT_EQ(font.pixelSize(), row.font ? -row.font->height : 12);
    EXPECT_EQ(font.bold(), row.font && row.font->weight >= 700);
    EXPECT_EQ(font.families().value(0), "SimSun");

    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(edit->isReadOnly(), row.read_only);
      EXPECT_EQ(edit->hasFrame(), row.border);
      EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
      EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(Qt::black));
      EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(Qt::white));
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), ToQColor(*row.text_colour));
      EXPECT_EQ(label->autoFillBackground(), row.back_colour.has_value());
      EXPECT_EQ(label->palette().color(QPalette::Window),
                row.back_colour ? ToQColor(*row.back_colour) : button_face);
      const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
      EXPECT_EQ(horizontal, row.alignment == Alignment::kLeft     ? Qt::AlignLeft
                            : row.alignment == Alignment::kCentre ? Qt::AlignHCenter
                                                                  : Qt::AlignRight);
    }
    if (auto* shape = qobject_cast<ShapeBox*>(widget)) {
      EXPECT_EQ(shape->Background(), ToQColor(*row.back_colour));
      EXPECT_EQ(shape->Outline(), ToQColor(*row.outline_colour));
    }
    if (auto* button = qobject_cast<PictureButton*>(widget); button && row.tag.empty()) {
      for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(button->Picture(static_cast<PictureButton::Slot>(slot)),
                  row.pictures[static_cast<std::size_t>(slot)]);
      }
    }
    if (qobject_cast<Canvas*>(widget) != nullptr) {
      EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor);
    }
  }
}

TEST_F(LayoutTest, WindowSettings) {
  MainWindow& window = Open();
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Velmo网址缩短工具"));
  // The outer size counts the frame, which is known only once the window is
  // on screen (the offscreen platform gives it a thin one).
  EXPECT_TRUE(WaitUntil([&] { return window.frameGeometry().size() == QSize(677, 465); }, 2000))
      << window.frameGeometry().width() << "x" << window.frameGeometry().height();
  EXPECT_LT(window.width(), 677);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(screen.x() + (screen.width() - 677) / 2,
                                                     screen.y() + (screen.height() - 465) / 2));
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window.palette().color(QPalette::Window), window.palette().color(QPalette::Button));
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(QApplication::focusWidget(), window.Control(names::AddressBox()));
  // Chinese needs a face that has it; the fallback list must end on one.
  const QFontInfo face(window.font());
  EXPECT_TRUE(QFontMetrics(window.font()).inFontUcs4(U'网')) << face.family().toStdString();
}

TEST_F(LayoutTest, CreationDrawsTheLogoAndSwitchesEveryToggleOn) {
  MainWindow& window = Open();
  for (int service = 1; service <= 9; ++service) {
    auto* toggle = Find<PictureButton>(names::ServiceToggle(service));
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(window.ReadTag(names::ServiceToggle(service)), text::Text("0"));
    EXPECT_EQ(toggle->Picture(PictureButton::kNormal), assets::PictureId::PicToggleOn);
    EXPECT_EQ(toggle->Picture(PictureButton::kHover), assets::PictureId::PicToggleOnHover);
  }
  const QImage logo = DecodePicture(assets::PictureId::PicLogo)
                          .scaled(30, 30, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                          .convertToFormat(QImage::Format_RGB32);
  const QImage surface = Find<Canvas>(names::LogoCanvas())->Surface();
  ASSERT_EQ(surface.size(), QSize(30, 30));
  // Corners and centre: the white ground and the blue emblem.
  for (const QPoint at : {QPoint(0, 0), QPoint(15, 15), QPoint(29, 29)}) {
    EXPECT_EQ(surface.pixelColor(at), logo.pixelColor(at)) << at.x() << "," << at.y();
  }
  EXPECT_EQ(window.NavigationCount(), 0) << "no page until the first reload";
}

}  // namespace
}  // namespace velmo::ui::qt::test
