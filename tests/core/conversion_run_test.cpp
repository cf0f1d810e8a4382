#include "core/conversion_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/standalone_controls.h"
#include "tests/core/support/fake_services.h"
#include "tests/text/text_printers.h"
#include "text/codepage.h"

namespace velmo::core {
namespace {

using namespace std::chrono_literals;
using test::FakeAnswer;
using test::FakeServices;
using testing::ElementsAre;
using testing::IsEmpty;
using text::Text;

constexpr auto kBound = 10s;  // no wait below may hang a broken build

Text Cp936(const std::string& utf8) { return text::Utf8ToAnsi(Text(utf8)); }
Text Short(int service, int ordinal) { return Text(FakeServices::ShortAddress(service, ordinal)); }

// The stand-alone controls, also noting every result box read and every write
// with the thread that made it.
class RecordingControls : public StandaloneControls {
 public:
  struct Write {
    Text result;
    std::thread::id thread;
  };

  Text ReadResultBox(int service) override {
    {
      const std::lock_guard lock(mutex_);
      ++box_reads_.at(static_cast<std::size_t>(service - 1));
    }
    return StandaloneControls::ReadResultBox(service);
  }

  void WriteResultBox(int service, const Text& result) override {
    {
      const std::lock_guard lock(mutex_);
      writes_.at(static_cast<std::size_t>(service - 1))
          .push_back({result, std::this_thread::get_id()});
    }
    StandaloneControls::WriteResultBox(service, result);
  }

  int BoxReads(int service) const {
    const std::lock_guard lock(mutex_);
    return box_reads_.at(static_cast<std::size_t>(service - 1));
  }
  std::vector<Write> WritesTo(int service) const {
    const std::lock_guard lock(mutex_);
    return writes_.at(static_cast<std::size_t>(service - 1));
  }

 private:
  mutable std::mutex mutex_;
  std::array<int, kServiceCount> box_reads_{};
  std::array<std::vector<Write>, kServiceCount> writes_;
};

class ConversionRunTest : public testing::Test {
 protected:
  ConversionRunTest() {
    controls_->SetAdvertisingAddress("http://ad.example/page");
    controls_->SetAddressText("srv/a b");
  }
  void TearDown() override { EXPECT_THAT(fakes_.Faults(), IsEmpty()); }

  // Starts each worker as the program does, counting the starts; a test may
  // put its own starter in place.
  void Run() {
    RunConversion(controls_, fakes_.Catalogue(), [this](std::function<void()> entry) {
      ++starts_;
      return start_(std::move(entry));
    });
  }
  bool WaitForWrites(std::size_t total) { return controls_->WaitForWrites(total, kBound); }

  FakeServices fakes_;
  std::shared_ptr<RecordingControls> controls_ = std::make_shared<RecordingControls>();
  StartThread start_ = StartDetachedThread;
  std::atomic<int> starts_{0};
};

TEST_F(ConversionRunTest, FillsEverySlotWithItsServicesAnswer) {
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(controls_->ResultText(n), Short(n, 1));
    ASSERT_EQ(fakes_.RequestCount(n), 1u);
    EXPECT_EQ(fakes_.Requests(n)[0].encoded_address, "http%3A%2F%2Fsrv%2Fa%20b");
  }
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
}

// The run returns while every service still holds its answer back, and all
// nine requests are then waiting at the same time.
TEST_F(ConversionRunTest, ReturnsWithoutWaitingAndAsksAllServicesAtOnce) {
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Hold(n);
  Run();
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  ASSERT_TRUE(fakes_.WaitForRequests(kServiceCount, kBound));
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Release(n);
  ASSERT_TRUE(WaitForWrites(kServiceCount));
}

TEST_F(ConversionRunTest, BareSchemeShowsTheMessageAndStartsNothing) {
  controls_->SetAddressText("http://");
  Run();
  EXPECT_EQ(starts_, 0);
  EXPECT_THAT(controls_->MessagesShown(),
              ElementsAre(ShownMessage{Cp936("请填写转换网址"), Cp936("提示:")}));
  // The page is reloaded before the address is looked at.
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

TEST_F(ConversionRunTest, AllTogglesOffStartsNothingAndReadsNoBox) {
  for (int n = 1; n <= kServiceCount; ++n) controls_->SetToggleState(n, "1");
  Run();
  EXPECT_EQ(starts_, 0);
  for (int n = 1; n <= kServiceCount; ++n) EXPECT_EQ(controls_->BoxReads(n), 0) << n;
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

TEST_F(ConversionRunTest, AllBoxesFilledStartsNothing) {
  for (int n = 1; n <= kServiceCount; ++n) controls_->SetResultText(n, "http://done.example/");
  controls_->SetResultText(5, " ");  // any text at all means done
  Run();
  EXPECT_EQ(starts_, 0);
  EXPECT_EQ(controls_->ResultText(5), Text(" "));
  EXPECT_EQ(controls_->TotalWrites(), 0u);
  EXPECT_THAT(controls_->PagesShown(), ElementsAre(Text("http://ad.example/page")));
}

// Only "0" means on; an off service's box is not even read, and keeps its text.
TEST_F(ConversionRunTest, SkipsServicesThatAreOffOrDone) {
  controls_->SetToggleState(3, "1");
  controls_->SetToggleState(7, "");
  controls_->SetToggleState(8, "00");
  controls_->SetResultText(8, "kept");
  controls_->SetResultText(5, " ");
  Run();
  ASSERT_TRUE(WaitForWrites(5));
  EXPECT_EQ(starts_, 5);
  for (const int off : {3, 7, 8}) EXPECT_EQ(controls_->BoxReads(off), 0) << off;
  EXPECT_EQ(controls_->ResultText(3), Text());
  EXPECT_EQ(controls_->ResultText(8), Text("kept"));
  EXPECT_EQ(controls_->ResultText(5), Text(" "));
  for (const int on : {1, 2, 4, 6, 9}) EXPECT_EQ(controls_->ResultText(on), Short(on, 1)) << on;
  EXPECT_EQ(fakes_.TotalRequests(), 5u);
}

struct ScreeningCase {
  const char* name;
  const char* address;  // UTF-8 here; typed in code page 936
  const char* sent;
};

void PrintTo(const ScreeningCase& row, std::ostream* out) { *out << row.name; }

class AddressScreeningTest : public ConversionRunTest,
                             public testing::WithParamInterface<ScreeningCase> {};

// Everything but the bare scheme goes to every service, prefixed as needed.
TEST_P(AddressScreeningTest, StartsEveryServiceWithoutAMessage) {
  controls_->SetAddressText(Cp936(GetParam().address));
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  EXPECT_THAT(controls_->MessagesShown(), IsEmpty());
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(controls_->ResultText(n), Short(n, 1));
    ASSERT_EQ(fakes_.RequestCount(n), 1u);
    EXPECT_EQ(fakes_.Requests(n)[0].encoded_address, GetParam().sent);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, AddressScreeningTest,
    testing::Values(ScreeningCase{"Capitals", "HTTP://", "http%3A%2F%2FHTTP%3A%2F%2F"},
                    ScreeningCase{"TrailingSpace", "http:// ", "http%3A%2F%2F%20"},
                    ScreeningCase{"Empty", "", "http%3A%2F%2F"},
                    ScreeningCase{"Chinese", "网址.cn/页", "http%3A%2F%2F%E7%BD%91%E5%9D%80.cn%2F%E9%A1%B5"}),
    [](const testing::TestParamInfo<ScreeningCase>& row) { return std::string(row.param.name); });

// A worker reads the address box when it runs, not when the click happened.
TEST_F(ConversionRunTest, WorkerReadsTheAddressWhenItRuns) {
  std::vector<std::function<void()>> pending;
  start_ = [&pending](std::function<void()> entry) {
    pending.push_back(std::move(entry));
    return true;
  };
  Run();
  ASSERT_EQ(pending.size(), static_cast<std::size_t>(kServiceCount));
  controls_->SetAddressText("later.cn");
  for (const auto& entry : pending) entry();
  for (int n = 1; n <= kServiceCount; ++n) {
    EXPECT_EQ(fakes_.Requests(n).at(0).encoded_address, "http%3A%2F%2Flater.cn") << n;
  }
}

// Two clicks before any answer: two workers per service, and the write that
// comes last stays, here the first request's, which its service answers late.
TEST_F(ConversionRunTest, TwoQuickRunsStartTwoWorkersAndTheLastWriteStays) {
  for (int n = 1; n <= kServiceCount; ++n) fakes_.SetDelays(n, {1500ms, 0ms});
  Run();
  Run();
  ASSERT_TRUE(WaitForWrites(2 * kServiceCount));
  EXPECT_EQ(starts_, 2 * kServiceCount);
  for (int n = 1; n <= kServiceCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(fakes_.RequestCount(n), 2u);
    const auto writes = controls_->WritesTo(n);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].result, Short(n, 2));
    EXPECT_EQ(writes[1].result, Short(n, 1));
    EXPECT_EQ(controls_->ResultText(n), Short(n, 1));
  }
}

// Clearing the boxes does not stop the workers still waiting: their answers
// fill the boxes again.
TEST_F(ConversionRunTest, AnswersAfterAClearFillTheBoxesAgain) {
  for (int n = 5; n <= kServiceCount; ++n) fakes_.Hold(n);
  Run();
  ASSERT_TRUE(WaitForWrites(4));
  controls_->ClearResults();
  for (int n = 1; n <= kServiceCount; ++n) EXPECT_EQ(controls_->ResultText(n), Text()) << n;
  for (int n = 5; n <= kServiceCount; ++n) fakes_.Release(n);
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(controls_->ResultText(n), Text()) << n;
  for (int n = 5; n <= kServiceCount; ++n) EXPECT_EQ(controls_->ResultText(n), Short(n, 1)) << n;
}

// When no thread can be had for service 2, it runs right here, and service 3
// is not looked at before service 2's box has been written.
TEST_F(ConversionRunTest, ServiceRunsOnTheCallingThreadWhenNoThreadStarts) {
  int call = 0;
  std::size_t service_two_writes_when_three_started = 0;
  start_ = [&](std::function<void()> entry) {
    ++call;
    if (call == 2) return false;
    if (call == 3) service_two_writes_when_three_started = controls_->WriteCount(2);
    return StartDetachedThread(std::move(entry));
  };
  Run();
  EXPECT_EQ(call, kServiceCount);
  EXPECT_EQ(service_two_writes_when_three_started, 1u);
  const auto writes = controls_->WritesTo(2);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].result, Short(2, 1));
  EXPECT_EQ(writes[0].thread, std::this_thread::get_id());
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  EXPECT_EQ(fakes_.RequestCount(2), 1u);
}

// A service that gives nothing gets its box written with the empty text, and
// the next click asks it again, and only it.
TEST_F(ConversionRunTest, EmptyAnswerIsWrittenAndAskedAgain) {
  fakes_.SetAnswer(4, FakeAnswer::kNoMarker);
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount));
  EXPECT_EQ(controls_->WriteCount(4), 1u);
  EXPECT_EQ(controls_->ResultText(4), Text());

  fakes_.SetAnswer(4, FakeAnswer::kShortAddress);
  Run();
  ASSERT_TRUE(WaitForWrites(kServiceCount + 1));
  EXPECT_EQ(starts_, kServiceCount + 1);
  EXPECT_EQ(controls_->ResultText(4), Short(4, 2));
}

// Closing the window lets go of the controls while workers still wait. The
// workers keep them alive, write into them, and only then are they freed.
TEST_F(ConversionRunTest, WorkersKeepTheControlsAliveAfterTheCallerLetsGo) {
  struct Counted : StandaloneControls {
    explicit Counted(std::shared_ptr<std::atomic<int>> writes) : writes_(std::move(writes)) {}
    void WriteResultBox(int service, const Text& result) override {
      StandaloneControls::WriteResultBox(service, result);
      ++*writes_;
    }
    std::shared_ptr<std::atomic<int>> writes_;
  };
  const auto writes = std::make_shared<std::atomic<int>>(0);
  auto controls = std::make_shared<Counted>(writes);
  controls->SetAddressText("a.cn");
  const std::weak_ptr<Counted> watch = controls;
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Hold(n);
  {
    const Catalogue catalogue = fakes_.Catalogue();  // gone before any worker ends
    RunConversion(controls, catalogue);
  }
  controls.reset();
  ASSERT_TRUE(fakes_.WaitForRequests(kServiceCount, kBound));
  EXPECT_FALSE(watch.expired());
  for (int n = 1; n <= kServiceCount; ++n) fakes_.Release(n);

  const auto deadline = std::chrono::steady_clock::now() + kBound;
  while (!watch.expired() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(*writes, kServiceCount);
}

}  // namespace
}  // namespace velmo::core
