#include "core/standalone_controls.h"

namespace velmo::core {

using text::Text;

StandaloneControls::StandaloneControls() {
  for (Slot& slot : slots_) slot.toggle_state = "0";
}

Text StandaloneControls::ReadAddressText() {
  const std::lock_guard lock(mutex_);
  return address_;
}

Text StandaloneControls::ReadAdvertisingAddress() {
  const std::lock_guard lock(mutex_);
  return advertising_address_;
}

void StandaloneControls::ShowAdvertisingPage(const Text& address) {
  const std::lock_guard lock(mutex_);
  pages_shown_.push_back(address);
}

Text StandaloneControls::ReadToggleState(int service) {
  const std::lock_guard lock(mutex_);
  const Slot* slot = SlotOf(service);
  return slot != nullptr ? slot->toggle_state : Text();
}

Text StandaloneControls::ReadResultBox(int service) {
  return ResultText(service);
}

void StandaloneControls::WriteResultBox(int service, const Text& result) {
  {
    const std::lock_guard lock(mutex_);
    Slot* slot = SlotOf(service);
    if (slot == nullptr) return;
    slot->result = result;
    ++slot->writes;
    ++total_writes_;
  }
  written_.notify_all();
}

void StandaloneControls::ShowMessage(const Text& message, const Text& title) {
  const std::lock_guard lock(mutex_);
  messages_shown_.push_back({message, title});
}

void StandaloneControls::SetAddressText(const Text& address) {
  const std::lock_guard lock(mutex_);
  address_ = address;
}

void StandaloneControls::SetAdvertisingAddress(const Text& address) {
  const std::lock_guard lock(mutex_);
  advertising_address_ = address;
}

void StandaloneControls::SetToggleState(int service, const Text& state) {
  const std::lock_guard lock(mutex_);
  if (Slot* slot = SlotOf(service)) slot->toggle_state = state;
}

void StandaloneControls::SetResultText(int service, const Text& result) {
  const std::lock_guard lock(mutex_);
  if (Slot* slot = SlotOf(service)) slot->result = result;
}

void StandaloneControls::ClearResults() {
  const std::lock_guard lock(mutex_);
  for (Slot& slot : slots_) slot.result = Text();
}

Text StandaloneControls::ResultText(int service) const {
  const std::lock_guard lock(mutex_);
  const Slot* slot = SlotOf(service);
  return slot != nullptr ? slot->result : Text();
}

std::size_t StandaloneControls::WriteCount(int service) const {
  const std::lock_guard lock(mutex_);
  const Slot* slot = SlotOf(service);
  return slot != nullptr ? slot->writes : 0;
}

std::size_t StandaloneControls::TotalWrites() const {
  const std::lock_guard lock(mutex_);
  return total_writes_;
}

bool StandaloneControls::WaitForWrites(std::size_t total, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return written_.wait_for(lock, timeout, [&] { return total_writes_ >= total; });
}

std::vector<Text> StandaloneControls::PagesShown() const {
  const std::lock_guard lock(mutex_);
  return pages_shown_;
}

std::vector<ShownMessage> StandaloneControls::MessagesShown() const {
  const std::lock_guard lock(mutex_);
  return messages_shown_;
}

StandaloneControls::Slot* StandaloneControls::SlotOf(int service) {
  if (service < 1 || service > kServiceCount) return nullptr;
  return &slots_[static_cast<std::size_t>(service - 1)];
}

const StandaloneControls::Slot* StandaloneControls::SlotOf(int service) const {
  if (service < 1 || service > kServiceCount) return nullptr;
  return &slots_[static_cast<std::size_t>(service - 1)];
}

}  // namespace velmo::core
