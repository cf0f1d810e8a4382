// The picture button's look in each state, read back from what it paints.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>
#include <QWidget>

#include "ui/qt/picture_button.h"

namespace velmo::ui::qt {
namespace {

using assets::PictureId;

QColor Painted(PictureButton& button, QPoint at) { return button.grab().toImage().pixelColor(at); }

void Hover(PictureButton& button, bool inside) {
  if (inside) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&button, &enter);
  } else {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
  }
}

TEST(PictureButtonTest, EachStateShowsItsPictureAndFallsBackToNormal) {
  QWidget parent;
  PictureButton button(&parent);
  button.setGeometry(0, 0, 164, 50);
  button.SetPicture(PictureButton::kNormal, PictureId::PicConvertNormal);
  button.SetPicture(PictureButton::kHover, PictureId::PicConvertHover);
  button.SetPicture(PictureButton::kPressed, PictureId::PicConvertPressed);
  parent.show();
  const QPoint inside(20, 10);
  const QColor normal = DecodePicture(PictureId::PicConvertNormal).pixelColor(inside);
  const QColor hover = DecodePicture(PictureId::PicConvertHover).pixelColor(inside);
  ASSERT_NE(normal, hover) << "the two pictures must differ where we look";

  EXPECT_EQ(button.ShownSlot(), PictureButton::kNormal);
  EXPECT_EQ(Painted(button, inside), normal);
  Hover(button, true);
  EXPECT_EQ(button.ShownSlot(), PictureButton::kHover);
  EXPECT_EQ(Painted(button, inside), hover);
  button.setDown(true);
  EXPECT_EQ(button.ShownSlot(), PictureButton::kPressed);
  button.setDown(false);
  Hover(button, false);
  EXPECT_EQ(button.ShownSlot(), PictureButton::kNormal);
  // No disabled picture: the normal one shows.
  button.setEnabled(false);
  EXPECT_EQ(button.ShownSlot(), PictureButton::kNormal);
  button.setEnabled(true);
  // No pressed picture either, once it is taken away.
  button.SetPicture(PictureButton::kPressed, std::nullopt);
  button.setDown(true);
  EXPECT_EQ(button.ShownSlot(), PictureButton::kNormal);
}

TEST(PictureButtonTest, WithoutPicturesItIsBlackAndClicksOnRelease) {
  QWidget parent;
  PictureButton button(&parent);
  button.setGeometry(0, 0, 13, 13);
  parent.show();
  EXPECT_EQ(Painted(button, QPoint(6, 6)), QColor(Qt::black));
  int clicks = 0;
  QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
  QTest::mousePress(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 0);
  QTest::mouseRelease(&button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.focusPolicy(), Qt::NoFocus) << "picture buttons are no tab stop";
}

}  // namespace
}  // namespace velmo::ui::qt
