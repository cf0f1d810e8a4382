#pragma once
// The real main window under the offscreen platform, with the message box and
// the browser launch captured, and the save directory a temporary one.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/window_description.h"

namespace velmo::ui::qt::test {

// Lets the event loop run until the condition holds; false on time-out.
inline bool WaitUntil(const std::function<bool()>& condition, int timeout_ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(5);
  }
  return true;
}

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmo-window-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override {
    window_.reset();
    std::filesystem::remove_all(directory_);
  }

  MainWindowOptions Options() {
    MainWindowOptions options;
    options.result_directory = directory_.string();
    options.show_message = [this](const QString& message, const QString& title) {
      messages_.push_back(title + message);
    };
    options.open_url = [this](const QUrl& url) { opened_.push_back(url.toString()); };
    options.create_web_view = false;
    return options;
  }

  MainWindow& Open(MainWindowOptions options) {
    window_ = std::make_unique<MainWindow>(std::move(options));
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    return *window_;
  }
  MainWindow& Open() { return Open(Options()); }

  template <typename Widget>
  Widget* Find(const text::Text& name) {
    return qobject_cast<Widget*>(window_->Control(name));
  }

  std::filesystem::path directory_;
  std::unique_ptr<MainWindow> window_;
  std::vector<QString> messages_;
  std::vector<QString> opened_;
};

}  // namespace velmo::ui::qt::test
