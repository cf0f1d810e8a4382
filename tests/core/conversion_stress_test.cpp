// The conversion run under load: fifty clicks within a second against slow
// services, the boxes cleared between some of them, a few rounds over. Every
// worker must ask once and write once, every box must end as the last write or
// clear left it, and the process must come back to the threads it had. The
// figures (clicking time, peak memory) are printed, never asserted.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/conversion_run.h"
#include "core/standalone_controls.h"
#include "tests/core/support/fake_services.h"
#include "tests/text/text_printers.h"
#include "text/codepage.h"

namespace velmo::core {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::FakeServices;
using text::Text;

// No wait below may hang a broken build; the sanitizers slow everything down.
constexpr auto kBound = 60s;

// The stand-alone controls with what each box must hold now. A write and its
// note are made under one lock, and so is a clear, so the note follows the
// order in which the boxes really changed.
class NotingControls : public StandaloneControls {
 public:
  void WriteResultBox(int service, const Text& result) override {
    const std::lock_guard lock(mutex_);
    StandaloneControls::WriteResultBox(service, result);
    const auto index = static_cast<std::size_t>(service - 1);
    expected_.at(index) = result;
    written_.at(index).push_back(result);
  }

  void Clear() {
    const std::lock_guard lock(mutex_);
    ClearResults();
    expected_.fill(Text());
  }

  Text Expected(int service) const {
    const std::lock_guard lock(mutex_);
    return expected_.at(static_cast<std::size_t>(service - 1));
  }
  std::vector<Text> Written(int service) const {
    const std::lock_guard lock(mutex_);
    return written_.at(static_cast<std::size_t>(service - 1));
  }

 private:
  mutable std::mutex mutex_;
  std::array<Text, kServiceCount> expected_;
  std::array<std::vector<Text>, kServiceCount> written_;
};

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"), or the thread count.
long StatusField(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == name + ":") {
      long value = 0;
      status >> value;
      return value;
    }
    status.ignore(4096, '\n');
  }
  return -1;
}

long ThreadCount() {
  return StatusField("Threads");
}

// The threads of the round (workers, and the fakes' connection threads) end on
// their own; this waits for them, bounded.
bool WaitForThreadsBackTo(long count) {
  const auto deadline = Clock::now() + kBound;
  while (ThreadCount() > count) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

TEST(ConversionStressTest, FiftyClicksASecondWithClearsLeaveEveryBoxConsistent) {
  constexpr int kRounds = 3;
  constexpr int kClicks = 50;
  constexpr auto kClickGap = 20ms;

  FakeServices fakes;
  std::mt19937 random(20261211);  // fixed, so a failing run can be repeated
  std::uniform_int_distribution<int> delay_ms(300, 800);
  std::bernoulli_distribution clear_after(0.5);
  for (int n = 1; n <= kServiceCount; ++n) {
    std::vector<std::chrono::milliseconds> delays(kRounds * kClicks);
    for (auto& delay : delays) delay = std::chrono::milliseconds(delay_ms(random));
    fakes.SetDelays(n, std::move(delays));
  }
  const Catalogue catalogue = fakes.Catalogue();

  auto controls = std::make_shared<NotingControls>();
  controls->SetAdvertisingAddress("http://ad.example/page");
  controls->SetAddressText(text::Utf8ToAnsi(Text("http://例子.中国/路径?q=a b&r=长")));
  std::atomic<int> starts{0};
  const StartThread counting_start = [&starts](std::function<void()> entry) {
    ++starts;
    return StartDetachedThread(std::move(entry));
  };

  const long threads_before = ThreadCount();
  for (int round = 1; round <= kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const auto begin = Clock::now();
    int clears = 0;
    for (int click = 0; click < kClicks; ++click) {
      RunConversion(controls, catalogue, counting_start);
      if (clear_after(random)) {
        controls->Clear();
        ++clears;
      }
      std::this_thread::sleep_until(begin + (click + 1) * kClickGap);
    }
    const double clicking_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count();

    const auto started = static_cast<std::size_t>(starts.load());
    ASSERT_TRUE(controls->WaitForWrites(started, kBound))
        << controls->TotalWrites() << " of " << started << " workers wrote";
    ASSERT_TRUE(WaitForThreadsBackTo(threads_before))
        << ThreadCount() << " threads left, " << threads_before << " before";
    const double settled_ms =
        std::chrono::duration<double, std::milli>(Clock::now() - begin).count();

    // One request and one write per worker, no more: a worker that wrote twice
    // or never would show here, and so would a write that went astray.
    EXPECT_EQ(controls->TotalWrites(), started);
    EXPECT_EQ(fakes.TotalRequests(), started);
    for (int n = 1; n <= kServiceCount; ++n) {
      SCOPED_TRACE("service " + std::to_string(n));
      // Every request was answered with its own short address, and each one
      // reached its own service's box exactly once.
      std::vector<Text> handed_out;
      for (std::size_t k = 1; k <= fakes.RequestCount(n); ++k) {
        handed_out.emplace_back(FakeServices::ShortAddress(n, static_cast<int>(k)));
      }
      EXPECT_THAT(controls->Written(n), ::testing::UnorderedElementsAreArray(handed_out));
      EXPECT_EQ(controls->ResultText(n), controls->Expected(n));
    }
    EXPECT_THAT(fakes.Faults(), ::testing::IsEmpty());

    std::printf(
        "round %d: %d clicks in %.0f ms, %d clears, %zu workers in all so far, settled after "
        "%.0f ms; RSS %ld KiB, peak %ld KiB\n",
        round, kClicks, clicking_ms, clears, started, settled_ms, StatusField("VmRSS"),
        StatusField("VmHWM"));
    RecordProperty("peak_rss_kib_round_" + std::to_string(round),
                   std::to_string(StatusField("VmHWM")));
  }
}

}  // namespace
}  // namespace velmo::core
