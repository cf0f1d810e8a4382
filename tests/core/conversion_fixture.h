#pragma once
// The conversion run's tests share this: the stand-alone controls with a
// record of what the run and its workers did to them, the nine fake services,
// and a run that counts its thread starts.

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
#include <utility>
#include <vector>

#include "core/conversion_run.h"
#include "core/standalone_controls.h"
#include "tests/core/support/fake_services.h"
#include "tests/text/text_printers.h"
#include "text/codepage.h"

namespace velmo::core::testing_support {

using namespace std::chrono_literals;
using text::Text;

constexpr auto kBound = 10s;  // no wait below may hang a broken build

inline Text Cp936(const std::string& utf8) {
  return text::Utf8ToAnsi(Text(utf8));
}
inline Text Short(int service, int ordinal) {
  return Text(test::FakeServices::ShortAddress(service, ordinal));
}

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

class ConversionRunTest : public ::testing::Test {
 protected:
  ConversionRunTest() {
    controls_->SetAdvertisingAddress("http://ad.example/page");
    controls_->SetAddressText("srv/a b");
  }
  void TearDown() override { EXPECT_THAT(fakes_.Faults(), ::testing::IsEmpty()); }

  // Starts each worker as the program does, counting the starts; a test may
  // put its own starter in place.
  void Run() {
    RunConversion(controls_, fakes_.Catalogue(), [this](std::function<void()> entry) {
      ++starts_;
      return start_(std::move(entry));
    });
  }
  bool WaitForWrites(std::size_t total) { return controls_->WaitForWrites(total, kBound); }

  test::FakeServices fakes_;
  std::shared_ptr<RecordingControls> controls_ = std::make_shared<RecordingControls>();
  StartThread start_ = StartDetachedThread;
  std::atomic<int> starts_{0};
};

}  // namespace velmo::core::testing_support
