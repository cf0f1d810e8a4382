// The convert button end to end against nine loopback services, and the
// bridge the workers reach the window through.
#include <QPushButton>
#include <array>
#include <chrono>
#include <future>
#include <thread>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "tests/ui/qt_window_fixture.h"
#include "text/codepage.h"
#include "text/text_ops.h"
#include "ui/qt/control_bridge.h"
#include "ui/qt/picture_button.h"

namespace velmo::ui::qt::test {
namespace {

using namespace std::chrono_literals;
using text::Text;
using velmo::test::LoopbackServer;

std::string ShortOf(int service) {
  return "http://s.example/" + std::to_string(service);
}

// An answer page for the service's recipe holding its short address, with
// some noise around the markers. Decoded pages arrive as UTF-8.
std::string PageFor(const core::ServiceSlot& slot) {
  if (slot.extraction == core::Extraction::kWholeBody) return ShortOf(slot.number);
  const bool decoded = slot.fetch == core::FetchMode::kDecoded;
  const auto marker = [&](const Text& text) {
    return decoded ? text::AnsiToUtf8(text).str() : text.str();
  };
  return "<html>noise " + marker(slot.start_marker) + ShortOf(slot.number) +
         marker(slot.end_marker) + " more noise</html>";
}

class ConversionTest : public QtWindowTest {
 protected:
  void SetUp() override {
    QtWindowTest::SetUp();
    catalogue_ = core::DefaultCatalogue();
    for (std::size_t i = 0; i < servers_.size(); ++i) {
      servers_[i] =
          std::make_unique<LoopbackServer>(velmo::test::ReplyBody(PageFor(catalogue_[i])));
      catalogue_[i].endpoint_base = Text(servers_[i]->Url(""));
    }
  }
  MainWindowOptions LoopbackOptions() {
    MainWindowOptions options = Options();
    options.catalogue = catalogue_;
    return options;
  }
  void ClickConvert() {
    QTest::mouseClick(Find<PictureButton>(names::ConvertButton()), Qt::LeftButton);
  }
  bool AllBoxesFilled() {
    for (int service = 1; service <= 9; ++service) {
      if (window_->ReadText(names::ResultBox(service)).empty()) return false;
    }
    return true;
  }

  core::Catalogue catalogue_;
  std::array<std::unique_ptr<LoopbackServer>, 9> servers_;
};

TEST_F(ConversionTest, ConvertFillsEveryBoxAndSkipsServicesThatAreOffOrDone) {
  MainWindow& window = Open(LoopbackOptions());
  ClickConvert();
  EXPECT_EQ(window.BrowserAddress(), Text("http://ads.velmo.example/?wzzh"));
  ASSERT_TRUE(WaitUntil([&] { return AllBoxesFilled(); }));
  for (int service = 1; service <= 9; ++service) {
    EXPECT_EQ(window.ReadText(names::ResultBox(service)), Text(ShortOf(service))) << service;
    EXPECT_EQ(servers_[static_cast<std::size_t>(service - 1)]->Requests().size(), 1u) << service;
  }
  EXPECT_TRUE(messages_.empty());

  // Every box done: a click asks nobody.
  ClickConvert();
  // Service 3 off, one box emptied: only that one service is asked again.
  QTest::mouseClick(Find<PictureButton>(names::ServiceToggle(3)), Qt::LeftButton);
  window.WriteText(names::ResultBox(3), Text());
  window.WriteText(names::ResultBox(7), Text());
  ClickConvert();
  // The worker reads the address box through this thread, so the wait must
  // keep the event loop turning.
  ASSERT_TRUE(WaitUntil([&] { return !window.ReadText(names::ResultBox(7)).empty(); }));
  QTest::qWait(100);
  for (int service = 1; service <= 9; ++service) {
    EXPECT_EQ(servers_[static_cast<std::size_t>(service - 1)]->Requests().size(),
              service == 7 ? 2u : 1u)
        << service;
  }
  EXPECT_EQ(window.ReadText(names::ResultBox(3)), Text());
}

TEST_F(ConversionTest, TheBareSchemeShowsTheMessageAndStartsNothing) {
  MainWindow& window = Open(LoopbackOptions());
  window.WriteText(names::AddressBox(), "http://");
  ClickConvert();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], QString::fromUtf8("提示:请填写转换网址"));
  EXPECT_EQ(window.BrowserAddress(), Text("http://ads.velmo.example/?wzzh"));
  QTest::qWait(200);
  for (const auto& server : servers_) EXPECT_EQ(server->Requests().size(), 0u);
}

TEST_F(ConversionTest, WithoutThreadsEveryServiceRunsOnTheUserInterfaceThread) {
  MainWindowOptions options = LoopbackOptions();
  options.start_thread = [](std::function<void()>) { return false; };
  MainWindow& window = Open(std::move(options));
  ClickConvert();
  // No event loop turn is needed: the click ran all nine in place.
  EXPECT_TRUE(AllBoxesFilled());
  EXPECT_EQ(window.ReadText(names::ResultBox(9)), Text(ShortOf(9)));
}

TEST_F(ConversionTest, AWorkerReadsAndWritesThroughTheUserInterfaceThread) {
  MainWindow& window = Open();
  std::shared_ptr<core::ConversionControls> bridge = window.Bridge();
  auto worker = std::async(std::launch::async, [bridge] {
    const Text address = bridge->ReadAddressText();
    bridge->WriteResultBox(4, text::JoinText("short of ", address));
    return address;
  });
  ASSERT_TRUE(WaitUntil([&] { return worker.wait_for(0ms) == std::future_status::ready; }));
  EXPECT_EQ(worker.get(), Text("http://velmo.example"));
  EXPECT_EQ(window.ReadText(names::ResultBox(4)), Text("short of http://velmo.example"));
}

TEST_F(ConversionTest, ClosingLetsAWaitingWorkerGoAndLaterWritesGoNowhere) {
  MainWindow& window = Open();
  std::shared_ptr<core::ConversionControls> bridge = window.Bridge();
  // The worker asks while this thread does not turn its event loop, so its
  // call is still waiting when the window closes.
  auto worker = std::async(std::launch::async, [bridge] { return bridge->ReadAddressText(); });
  std::this_thread::sleep_for(100ms);
  ASSERT_EQ(worker.wait_for(0ms), std::future_status::timeout);
  window.close();
  ASSERT_EQ(worker.wait_for(2s), std::future_status::ready);
  EXPECT_EQ(worker.get(), Text());

  auto late = std::async(std::launch::async, [bridge] { bridge->WriteResultBox(2, "late"); });
  ASSERT_EQ(late.wait_for(2s), std::future_status::ready);
  QTest::qWait(50);
  EXPECT_EQ(window.ReadText(names::ResultBox(2)), Text());
  window_.reset();
  // The worker's share keeps the bridge alive after the window is gone.
  EXPECT_EQ(bridge->ReadResultBox(2), Text());
}

}  // namespace
}  // namespace velmo::ui::qt::test
