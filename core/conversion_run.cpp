#include "core/conversion_run.h"

#include <utility>

#include "core/shorten_address.h"
#include "text/text_ops.h"
#include "web/http_request.h"

namespace velmo::core {

using text::Text;

namespace {

constexpr const char* kNoAddressMessage =
    "\xC7\xEB\xCC\xEE\xD0\xB4\xD7\xAA\xBB\xBB\xCD\xF8\xD6\xB7";  // 请填写转换网址
constexpr const char* kNoAddressTitle = "\xCC\xE1\xCA\xBE:";     // 提示:

}  // namespace

void RunConversion(const std::shared_ptr<ConversionControls>& controls, const Catalogue& catalogue,
                   const StartThread& start_thread) {
  ConversionControls& window = *controls;

  // The page is reloaded on every click, before the address is looked at, so
  // also when the run stops at the check below.
  window.ShowAdvertisingPage(window.ReadAdvertisingAddress());

  // The one check on the address: exactly the seven bytes of the bare scheme.
  // Capitals, a trailing space or an empty box all go through.
  if (text::CompareText(window.ReadAddressText(), "http://") == 0) {
    window.ShowMessage(kNoAddressMessage, kNoAddressTitle);
    return;
  }

  // Readies the HTTP stack here, on this thread, so that no two workers race
  // to do it.
  web::InitialiseWebAccess();

  for (const ServiceSlot& slot : catalogue) {
    if (!IsServiceEligible(window, slot.number)) continue;
    // Service n + 1 is looked at only once service n has been started, or,
    // when no thread could be had for it, once it has finished right here.
    if (!start_thread(WorkerEntry(controls, slot))) RunService(window, slot);
  }
}

bool IsServiceEligible(ConversionControls& controls, int service) {
  if (text::CompareText(controls.ReadToggleState(service), "0") != 0) return false;
  return text::CompareText(controls.ReadResultBox(service), Text()) == 0;
}

void RunService(ConversionControls& controls, const ServiceSlot& slot) {
  const Text address = controls.ReadAddressText();
  controls.WriteResultBox(slot.number, ShortenAddress(slot, address));
}

WorkerEntry::WorkerEntry(std::shared_ptr<ConversionControls> controls, ServiceSlot slot)
    : controls_(std::move(controls)), slot_(std::move(slot)) {}

void WorkerEntry::operator()() const {
  RunService(*controls_, slot_);
}

}  // namespace velmo::core
