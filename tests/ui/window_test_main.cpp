// GoogleTest with a Qt application around it, so the tests can build widgets.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/program.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  velmo::ui::qt::PrepareApplication();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
