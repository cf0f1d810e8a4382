// Times the conversion run against the nine fake services on loopback:
//   fill   one run against services that all answer after D; time to the ninth write
//   click  RunConversion itself, nine eligible services, same services; also
//          with no thread started and with requests refused at once
//   load   50 runs within one second against services answering after 2 s
//          (450 workers in flight); peak memory before and after
// Usage: velmo_bench_core [fill_runs] [click_runs]

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "core/conversion_run.h"
#include "core/standalone_controls.h"
#include "tests/core/support/fake_services.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;
using namespace std::chrono_literals;
using velmo::core::kServiceCount;
using velmo::core::RunConversion;
using velmo::core::StandaloneControls;
using velmo::test::FakeServices;

constexpr auto kServiceDelay = 200ms;
constexpr auto kBound = 60s;

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct Summary {
  double median;
  double p90;
  double max;
};

Summary Summarise(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double q) {
    return samples[static_cast<std::size_t>(q * static_cast<double>(samples.size() - 1))];
  };
  return {at(0.5), at(0.9), samples.back()};
}

std::shared_ptr<StandaloneControls> FreshControls() {
  auto controls = std::make_shared<StandaloneControls>();
  controls->SetAddressText("www.example.com/a/very/long/path?with=query&and=more");
  return controls;
}

int Fill(int runs) {
  FakeServices fakes;
  fakes.SetDelayForAll(kServiceDelay);
  const auto catalogue = fakes.Catalogue();
  std::vector<double> samples;
  for (int i = 0; i < runs; ++i) {
    auto controls = FreshControls();
    const auto start = Clock::now();
    RunConversion(controls, catalogue);
    if (!controls->WaitForWrites(kServiceCount, kBound)) return std::puts("fill: timed out"), 1;
    samples.push_back(Millis(Clock::now() - start).count());
    for (int n = 1; n <= kServiceCount; ++n) {
      if (controls->ResultText(n).empty()) return std::puts("fill: an empty slot"), 1;
    }
  }
  const Summary s = Summarise(samples);
  const double d = Millis(kServiceDelay).count();
  std::printf(
      "fill   D = %.0f ms, %d runs: median %.1f ms (%.3f D), p90 %.1f ms, max %.1f ms (%.3f D)\n",
      d, runs, s.median, s.median / d, s.p90, s.max, s.max / d);
  return 0;
}

// The click against the fakes, and two variants that show where its time goes:
// with no thread started at all, and with workers whose requests are refused
// at once (no server threads in this process competing for the cores).
int Click(int runs) {
  FakeServices fakes;
  fakes.SetDelayForAll(kServiceDelay);
  const auto catalogue = fakes.Catalogue();
  auto refused = catalogue;
  for (auto& slot : refused) slot.endpoint_base = "http://127.0.0.1:9";
  const velmo::core::StartThread no_start = [](std::function<void()>) { return true; };

  struct Variant {
    const char* name;
    const velmo::core::Catalogue& catalogue;
    velmo::core::StartThread start;
    std::size_t writes;
  };
  const Variant variants[] = {
      {"workers, fake services", catalogue, velmo::core::StartDetachedThread, kServiceCount},
      {"workers, refused at once", refused, velmo::core::StartDetachedThread, kServiceCount},
      {"no thread started", catalogue, no_start, 0},
  };
  for (const Variant& variant : variants) {
    std::vector<double> samples;
    for (int i = 0; i < runs; ++i) {
      auto controls = FreshControls();
      const auto start = Clock::now();
      RunConversion(controls, variant.catalogue, variant.start);
      samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
      if (!controls->WaitForWrites(variant.writes, kBound)) return std::puts("click: timed out"), 1;
    }
    const Summary s = Summarise(samples);
    std::printf("click  %-24s %d runs: median %.1f us, p90 %.1f us, max %.1f us\n", variant.name,
                runs, s.median, s.p90, s.max);
  }
  return 0;
}

int Load(int round) {
  constexpr int kRuns = 50;
  FakeServices fakes;
  fakes.SetDelayForAll(2s);
  const auto catalogue = fakes.Catalogue();
  auto controls = FreshControls();
  const long before = PeakRssKib();
  const auto start = Clock::now();
  for (int i = 0; i < kRuns; ++i) {
    RunConversion(controls, catalogue);
    std::this_thread::sleep_until(start + (i + 1) * 20ms);
  }
  const double clicking = Millis(Clock::now() - start).count();
  const auto expected = static_cast<std::size_t>(kRuns * kServiceCount);
  if (!controls->WaitForWrites(expected, kBound)) return std::puts("load: timed out"), 1;
  const double all_written = Millis(Clock::now() - start).count();
  std::size_t filled = 0;
  for (int n = 1; n <= kServiceCount; ++n) {
    if (!controls->ResultText(n).empty()) ++filled;
  }
  std::printf(
      "load   round %d: %d runs in %.0f ms, %zu requests, %zu writes after %.0f ms, "
      "%zu/9 slots filled, peak RSS %ld KiB before, %ld KiB after\n",
      round, kRuns, clicking, fakes.TotalRequests(), controls->TotalWrites(), all_written, filled,
      before, PeakRssKib());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int fill_runs = argc > 1 ? std::atoi(argv[1]) : 20;
  const int click_runs = argc > 2 ? std::atoi(argv[2]) : 50;
  std::printf("hardware threads: %u\n", std::thread::hardware_concurrency());
  if (Fill(fill_runs) != 0 || Click(click_runs) != 0) return 1;
  for (int round = 1; round <= 2; ++round) {
    if (Load(round) != 0) return 1;
  }
  return 0;
}
