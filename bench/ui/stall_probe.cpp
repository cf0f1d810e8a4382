#include "bench/ui/stall_probe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/http_answers.h"
#include "tests/support/loopback_server.h"
#include "text/codepage.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program.h"
#include "ui/window_description.h"

namespace velmo::bench {

namespace {

using Clock = std::chrono::steady_clock;

std::string PageFor(const core::ServiceSlot& slot) {
  const std::string short_address = "http://s.example/" + std::to_string(slot.number);
  if (slot.extraction == core::Extraction::kWholeBody) return short_address;
  const bool decoded = slot.fetch == core::FetchMode::kDecoded;
  const auto marker = [&](const text::Text& text) {
    return decoded ? text::AnsiToUtf8(text).str() : text.str();
  };
  return std::string(2000, ' ') + marker(slot.start_marker) + short_address +
         marker(slot.end_marker) + std::string(2000, ' ');
}

// Gaps between ticks of a 1 ms timer while the loop runs for the span.
class TickGaps {
 public:
  TickGaps() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const auto now = Clock::now();
      gaps_.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
      last_ = now;
    });
  }
  void Start() {
    last_ = Clock::now();
    timer_.start();
  }
  void Stop() { timer_.stop(); }
  std::vector<double>& Gaps() { return gaps_; }

 private:
  QTimer timer_;
  Clock::time_point last_;
  std::vector<double> gaps_;
};

void RunLoopUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer elapsed;
  elapsed.start();
  QEventLoop loop;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (done() || elapsed.elapsed() > timeout_ms) loop.quit();
  });
  check.start(2);
  loop.exec();
}

}  // namespace

StallFigures MeasureStalls(int argc, char** argv) {
  ui::qt::PrepareApplication();
  QApplication application(argc, argv);

  core::Catalogue catalogue = core::DefaultCatalogue();
  std::array<std::unique_ptr<test::LoopbackServer>, 9> services;
  for (std::size_t i = 0; i < services.size(); ++i) {
    const std::string page = PageFor(catalogue[i]);
    const auto delay = std::chrono::milliseconds(20 + 15 * static_cast<int>(i));
    services[i] = std::make_unique<test::LoopbackServer>(
        [page, delay](const test::RecordedRequest&, test::Connection& connection) {
          if (!connection.Pause(delay)) return;
          connection.Send(test::AnswerBytes(test::Answer{200, {}, page, 0}));
          connection.Close();
        });
    catalogue[i].endpoint_base = text::Text(services[i]->Url(""));
  }
  // The advertising page, so the web view loads something real on each click.
  test::LoopbackServer advert(test::ReplyBody("<html><body><h1>advert</h1></body></html>"));

  ui::qt::MainWindowOptions options;
  options.catalogue = catalogue;
  ui::qt::MainWindow window(std::move(options));
  window.show();
  window.CreateWebView();
  for (const text::Text& holder :
       {ui::names::AdvertOnConvert(), ui::names::AdvertOnChange(), ui::names::AdvertOnClear()}) {
    window.WriteText(holder, text::Text(advert.Url("/?wzzh")));
  }
  RunLoopUntil([] { return false; }, 3000);  // let the web engine settle

  StallFigures figures;
  TickGaps idle;
  idle.Start();
  RunLoopUntil([] { return false; }, 2000);
  idle.Stop();
  figures.idle_longest_ms = *std::max_element(idle.Gaps().begin(), idle.Gaps().end());

  auto* convert = qobject_cast<QAbstractButton*>(window.Control(ui::names::ConvertButton()));
  auto* clear = qobject_cast<QAbstractButton*>(window.Control(ui::names::ClearButton()));
  const auto all_filled = [&] {
    for (int service = 1; service <= 9; ++service) {
      if (window.ReadText(ui::names::ResultBox(service)).empty()) return false;
    }
    return true;
  };
  TickGaps busy;
  busy.Start();
  constexpr int kConversions = 20;
  for (int i = 0; i < kConversions; ++i) {
    window.WriteText(ui::names::AddressBox(), "http://velmo.example/a/long/address?with=query");
    convert->click();
    RunLoopUntil(all_filled, 10000);
    if (all_filled()) ++figures.conversions;
    clear->click();
  }
  busy.Stop();
  std::vector<double>& gaps = busy.Gaps();
  std::sort(gaps.begin(), gaps.end());
  figures.longest_ms = gaps.back();
  figures.p99_ms = gaps[gaps.size() * 99 / 100];
  window.close();
  return figures;
}

}  // namespace velmo::bench
