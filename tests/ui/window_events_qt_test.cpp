// The window's events on the real widgets: clicks, typing, the program's own
// writes, saving, the message box, the links and closing.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineView>
#include <fstream>
#include <iterator>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "tests/ui/qt_window_fixture.h"
#include "text/codepage.h"
#include "ui/qt/canvas.h"
#include "ui/qt/control_bridge.h"
#include "ui/qt/picture_button.h"

namespace velmo::ui::qt::test {
namespace {

using text::Text;
using EventsTest = QtWindowTest;

TEST_F(EventsTest, ToggleClickFlipsPicturesAndTagAndASecondClickRestores) {
  MainWindow& window = Open();
  auto* toggle = Find<PictureButton>(names::ServiceToggle(5));
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_EQ(window.ReadTag(names::ServiceToggle(5)), Text("1"));
  EXPECT_EQ(toggle->Picture(PictureButton::kNormal), assets::PictureId::PicToggleOff);
  EXPECT_EQ(toggle->Picture(PictureButton::kHover), assets::PictureId::PicToggleOffHover);
  EXPECT_EQ(window.ReadTag(names::ServiceToggle(4)), Text("0")) << "only the clicked one";
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_EQ(window.ReadTag(names::ServiceToggle(5)), Text("0"));
  EXPECT_EQ(toggle->Picture(PictureButton::kNormal), assets::PictureId::PicToggleOn);
}

TEST_F(EventsTest, EveryWriteAndEveryKeystrokeInTheAddressBoxReloadsTheAdvert) {
  MainWindow& window = Open();
  const Text same = window.ReadText(names::AddressBox());
  window.WriteText(names::AddressBox(), same);
  window.WriteText(names::AddressBox(), same);
  EXPECT_EQ(window.NavigationCount(), 2) << "a write of the same text still counts";
  EXPECT_EQ(window.BrowserAddress(), Text("http://ads2.velmo.example/?wzzh"));

  auto* address = Find<QLineEdit>(names::AddressBox());
  address->setFocus();
  QTest::keyClicks(address, "/abcde");
  EXPECT_EQ(window.NavigationCount(), 2 + 6);
  EXPECT_EQ(window.ReadText(names::AddressBox()), Text("http://velmo.example/abcde"));

  // Other boxes have no handler.
  window.WriteText(names::AdvertOnConvert(), "http://elsewhere.example/");
  window.WriteText(names::ResultBox(3), "x");
  EXPECT_EQ(window.NavigationCount(), 8);
}

TEST_F(EventsTest, ClearButtonEmptiesAllBoxesKeepsTogglesAndEndsOnTheChangePage) {
  MainWindow& window = Open();
  for (int service = 1; service <= 9; ++service) {
    window.WriteText(names::ResultBox(service),
                     Text("http://s.example/" + std::to_string(service)));
  }
  QTest::mouseClick(Find<PictureButton>(names::ServiceToggle(2)), Qt::LeftButton);
  window.WriteText(names::AdvertOnChange(), "http://ads2.velmo.example/changed/?wzzh");
  const int before = window.NavigationCount();

  QTest::mouseClick(Find<QPushButton>(names::ClearButton()), Qt::LeftButton);

  for (int service = 1; service <= 9; ++service) {
    EXPECT_EQ(window.ReadText(names::ResultBox(service)), Text()) << service;
  }
  EXPECT_EQ(window.ReadText(names::AddressBox()), Text());
  EXPECT_EQ(window.ReadTag(names::ServiceToggle(2)), Text("1"));
  EXPECT_EQ(window.NavigationCount(), before + 2) << "编辑框3, then 编辑框2";
  EXPECT_EQ(window.BrowserAddress(), Text("http://ads2.velmo.example/changed/?wzzh"));

  // Clearing again with the address box already empty still reloads.
  QTest::mouseClick(Find<QPushButton>(names::ClearButton()), Qt::LeftButton);
  EXPECT_EQ(window.NavigationCount(), before + 4);
}

TEST_F(EventsTest, SaveButtonWritesTheSixFilesBesideTheProgram) {
  MainWindow& window = Open();
  window.WriteText(names::ResultBox(5), Text("http://s.example/\xCD\xF8"));  // 网
  window.WriteText(names::ResultBox(1), Text("never saved"));
  QTest::mouseClick(Find<QPushButton>(names::SaveButton()), Qt::LeftButton);
  const auto content = [&](int file) {
    std::ifstream in(
        directory_ / std::filesystem::u8path("生成网址" + std::to_string(file) + ".txt"),
        std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  EXPECT_EQ(content(1), "http://s.example/\xCD\xF8");
  for (int file = 2; file <= 6; ++file) EXPECT_EQ(content(file), "") << file;
  EXPECT_EQ(window.BrowserAddress(), Text("http://ads2.velmo.example/?wzzh"));
}

TEST_F(EventsTest, LinksGoThroughTheShellAndTheCanvasOpensOnPress) {
  Open();
  QTest::mouseClick(Find<QPushButton>(names::MakerSiteButton()), Qt::LeftButton);
  QTest::mousePress(Find<Canvas>(names::LogoCanvas()), Qt::LeftButton);
  const std::vector<QString> expected = {"http://velmo.example", "http://bbs.velmo.example/"};
  EXPECT_EQ(opened_, expected);
}

TEST_F(EventsTest, EscapeClosesFromAnEditBoxAndTheCloseButtonClosesAfterItsClick) {
  MainWindow& window = Open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(Find<QLineEdit>(names::AddressBox()), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(window.Bridge()->Detached());

  MainWindow& second = Open();
  QTest::mouseClick(Find<PictureButton>(names::CloseButton()), Qt::LeftButton);
  EXPECT_TRUE(second.isVisible()) << "the close is posted, not done inside the click";
  EXPECT_TRUE(WaitUntil([&] { return !second.isVisible(); }, 2000));
}

TEST_F(EventsTest, EnterInTheAddressBoxKeepsTheFocus) {
  MainWindow& window = Open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), window.Control(names::AddressBox()));
}

TEST_F(EventsTest, FocusComesBackToTheLastControlAndTheMinimiseButtonMinimises) {
  MainWindow& window = Open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  Find<QPushButton>(names::ClearButton())->setFocus();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(QApplication::focusWidget(), window.Control(names::ClearButton()));

  QTest::mouseClick(Find<PictureButton>(names::MinimiseButton()), Qt::LeftButton);
  EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(EventsTest, PagesAskedForBeforeTheWebViewExistsAreLoadedWhenItDoes) {
  MainWindow& window = Open();
  window.WriteText(names::AdvertOnChange(), "http://127.0.0.1:9/first");
  window.WriteText(names::AddressBox(), "x");
  window.WriteText(names::AdvertOnChange(), "http://127.0.0.1:9/second");
  window.WriteText(names::AddressBox(), "y");
  ASSERT_EQ(window.WebView(), nullptr);
  window.CreateWebView();
  ASSERT_NE(window.WebView(), nullptr);
  EXPECT_EQ(window.WebView()->url(), QUrl("http://127.0.0.1:9/second"));
  window.WriteText(names::AdvertOnChange(), "http://127.0.0.1:9/third");
  window.WriteText(names::AddressBox(), "z");
  EXPECT_EQ(window.WebView()->url(), QUrl("http://127.0.0.1:9/third"));
}

TEST_F(EventsTest, TheWebViewLoadsTheAdvertisingPage) {
  velmo::test::LoopbackServer advert(
      velmo::test::ReplyBody("<html><body><h1>advert</h1></body></html>"));
  MainWindow& window = Open();
  window.CreateWebView();
  QSignalSpy loaded(window.WebView(), &QWebEngineView::loadFinished);
  window.WriteText(names::AdvertOnChange(), Text(advert.Url("/?wzzh")));
  window.WriteText(names::AddressBox(), "http://velmo.example/a");
  ASSERT_TRUE(WaitUntil([&] { return !loaded.isEmpty(); }, 30000));
  EXPECT_TRUE(loaded.first().value(0).toBool());
  ASSERT_FALSE(advert.Requests().empty());
  EXPECT_EQ(advert.Requests().front().target, "/?wzzh");
}

}  // namespace
}  // namespace velmo::ui::qt::test
