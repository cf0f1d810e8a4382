#pragma once
// The convert click: reload the advertising page, screen the address once,
// and start one worker for every service that is on and still without a
// result. The run never waits for a worker; the result boxes fill in as the
// answers come.

#include <memory>

#include "core/conversion_controls.h"
#include "core/service_catalogue.h"
#include "core/thread_start.h"

namespace velmo::core {

// Runs on the user-interface thread. Workers share ownership of the controls,
// so the caller may let go of them (or close the window) at any time; a worker
// that outlives the window writes into controls that are still alive.
void RunConversion(const std::shared_ptr<ConversionControls>& controls,
                   const Catalogue& catalogue = DefaultCatalogue(),
                   const StartThread& start_thread = StartDetachedThread);

// True when service n's toggle is on ("0") and its result box is empty. The
// box is not read when the toggle is off.
bool IsServiceEligible(ConversionControls& controls, int service);

// The whole work of one service: read the address box now (not what the
// click saw), shorten, and write the result box, also with the empty text.
void RunService(ConversionControls& controls, const ServiceSlot& slot);

// The entry routine of one service's worker thread. It holds its own share of
// the controls and its own copy of the service's row, so nothing it touches
// can be freed under it.
class WorkerEntry {
 public:
  WorkerEntry(std::shared_ptr<ConversionControls> controls, ServiceSlot slot);
  void operator()() const;

 private:
  std::shared_ptr<ConversionControls> controls_;
  ServiceSlot slot_;
};

}  // namespace velmo::core
