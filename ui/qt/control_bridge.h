#pragma once
// How the conversion's workers reach the window. A worker's read or write is
// carried out on the user-interface thread while the worker waits; a call made
// on that thread itself (the run, or a worker that could not get a thread of
// its own) goes straight to the window. The user-interface thread never waits
// for a worker.
//
// Workers share ownership of the bridge, and the window detaches it when it
// closes: from then on reads give the empty text, writes go nowhere, and a
// worker that was waiting for the window is let go at once. Nothing is ever
// handed to a thread that has stopped running its event loop.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "core/conversion_controls.h"
#include "ui/window.h"

class QObject;
class QThread;

namespace velmo::ui::qt {

class ControlBridge : public core::ConversionControls {
 public:
  // Made on the user-interface thread, which is the window's thread.
  explicit ControlBridge(Window& window);
  ~ControlBridge() override;
  ControlBridge(const ControlBridge&) = delete;
  ControlBridge& operator=(const ControlBridge&) = delete;

  // User-interface thread only. Idempotent.
  void Detach();
  bool Detached() const;

  text::Text ReadAddressText() override;
  text::Text ReadAdvertisingAddress() override;
  void ShowAdvertisingPage(const text::Text& address) override;
  text::Text ReadToggleState(int service) override;
  text::Text ReadResultBox(int service) override;
  void WriteResultBox(int service, const text::Text& result) override;
  void ShowMessage(const text::Text& message, const text::Text& title) override;

 private:
  struct Call;
  // Runs the work on the user-interface thread with the window, and returns
  // whether it ran; it does not when the window is gone. The work reads and
  // writes the calling worker's own variables, so it must not turn the event
  // loop itself (a close handled inside it would let the worker go first);
  // reading and writing controls never does.
  bool OnUiThread(const std::function<void(Window&)>& work);

  QThread* const ui_thread_;
  Window* window_;  // read and changed on the user-interface thread only

  mutable std::mutex mutex_;
  std::condition_variable finished_;
  bool detached_ = false;
  // Receives the calls on the user-interface thread. Deleting it on detach
  // drops every call still queued for it.
  QObject* relay_;
  std::set<std::shared_ptr<Call>> waiting_;
};

}  // namespace velmo::ui::qt
