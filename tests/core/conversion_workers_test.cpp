// The conversion run's workers: when they read, what they write, what they
// keep alive, and what happens when no thread can be had.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/conversion_fixture.h"

namespace velmo::core {
namespace {

using namespace testing_support;
using test::FakeAnswer;
using test::FakeServices;
using testing::ElementsAre;
using testing::IsEmpty;
using text::Text;

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
