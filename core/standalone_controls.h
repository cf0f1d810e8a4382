#pragma once
// The controls without a window: one address, nine toggle states, nine result
// slots, and a record of what the run asked the window to show. Every call is
// safe from any thread. Tests use it, and so can any headless use of the core.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "core/conversion_controls.h"
#include "core/service_catalogue.h"

namespace velmo::core {

struct ShownMessage {
  text::Text message;
  text::Text title;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class StandaloneControls : public ConversionControls {
 public:
  // All nine toggles on ("0"), as the window's creation leaves them, every
  // slot and the address empty.
  StandaloneControls();

  text::Text ReadAddressText() override;
  text::Text ReadAdvertisingAddress() override;
  void ShowAdvertisingPage(const text::Text& address) override;
  text::Text ReadToggleState(int service) override;
  text::Text ReadResultBox(int service) override;
  // Also counts the write and wakes WaitForWrites.
  void WriteResultBox(int service, const text::Text& result) override;
  // Only recorded: nobody is there to close a box.
  void ShowMessage(const text::Text& message, const text::Text& title) override;

  // What the user (or the clear button) would do. None of these counts as a
  // write by a worker.
  void SetAddressText(const text::Text& address);
  void SetAdvertisingAddress(const text::Text& address);
  void SetToggleState(int service, const text::Text& state);
  void SetResultText(int service, const text::Text& result);
  void ClearResults();

  // Result slot n, as ReadResultBox gives it but without any side effect.
  text::Text ResultText(int service) const;
  // Writes made through WriteResultBox: for one service, and for all nine.
  std::size_t WriteCount(int service) const;
  std::size_t TotalWrites() const;
  // Waits until at least total writes have been made in all; false when the
  // time ran out first.
  bool WaitForWrites(std::size_t total, std::chrono::milliseconds timeout) const;

  std::vector<text::Text> PagesShown() const;
  std::vector<ShownMessage> MessagesShown() const;

 private:
  struct Slot {
    text::Text toggle_state;
    text::Text result;
    std::size_t writes = 0;
  };
  // A number outside 1 to 9 has no slot; reads give the empty text and writes
  // go nowhere, as they would on a window without that control.
  Slot* SlotOf(int service);
  const Slot* SlotOf(int service) const;

  mutable std::mutex mutex_;
  mutable std::condition_variable written_;
  text::Text address_;
  text::Text advertising_address_;
  std::array<Slot, kServiceCount> slots_;
  std::size_t total_writes_ = 0;
  std::vector<text::Text> pages_shown_;
  std::vector<ShownMessage> messages_shown_;
};

}  // namespace velmo::core
