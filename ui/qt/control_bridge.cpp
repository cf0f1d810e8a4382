#include "ui/qt/control_bridge.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "ui/window_description.h"

namespace velmo::ui::qt {

using text::Text;

struct ControlBridge::Call {
  bool finished = false;
  bool ran = false;
};

ControlBridge::ControlBridge(Window& window)
    : ui_thread_(QThread::currentThread()), window_(&window), relay_(new QObject) {}

ControlBridge::~ControlBridge() {
  // The window detaches before it lets go of its share; a bridge that was
  // never detached still has its relay, which belongs to the window's thread.
  if (relay_ != nullptr) relay_->deleteLater();
}

void ControlBridge::Detach() {
  QObject* relay = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (detached_) return;
    detached_ = true;
    relay = relay_;
    relay_ = nullptr;
    for (const std::shared_ptr<Call>& call : waiting_) call->finished = true;
    waiting_.clear();
  }
  finished_.notify_all();
  window_ = nullptr;
  // No worker posts to the relay any more (they check detached_ under the
  // lock), so it can go; the calls still queued for it go with it.
  delete relay;
}

bool ControlBridge::Detached() const {
  std::lock_guard lock(mutex_);
  return detached_;
}

bool ControlBridge::OnUiThread(const std::function<void(Window&)>& work) {
  if (QThread::currentThread() == ui_thread_) {
    // The run itself, or a worker that had to run in its place: waiting for
    // the event loop here would wait for ourselves.
    if (window_ == nullptr) return false;
    work(*window_);
    return true;
  }

  auto call = std::make_shared<Call>();
  std::unique_lock lock(mutex_);
  if (detached_) return false;
  waiting_.insert(call);
  // Posting only queues the call, so holding the lock here never makes the
  // user-interface thread wait for more than that.
  QMetaObject::invokeMethod(
      relay_,
      [this, call, work] {
        // Runs on the user-interface thread while the relay lives, and the
        // relay lives only while the window holds the bridge.
        if (window_ == nullptr) return;
        work(*window_);
        {
          std::lock_guard done(mutex_);
          if (call->finished) return;
          call->finished = true;
          call->ran = true;
          waiting_.erase(call);
        }
        finished_.notify_all();
      },
      Qt::QueuedConnection);
  finished_.wait(lock, [&] { return call->finished; });
  return call->ran;
}

Text ControlBridge::ReadAddressText() {
  Text result;
  OnUiThread([&](Window& window) { result = window.ReadText(names::AddressBox()); });
  return result;
}

Text ControlBridge::ReadAdvertisingAddress() {
  Text result;
  OnUiThread([&](Window& window) { result = window.ReadText(names::AdvertOnConvert()); });
  return result;
}

void ControlBridge::ShowAdvertisingPage(const Text& address) {
  OnUiThread([&](Window& window) { window.Navigate(address); });
}

Text ControlBridge::ReadToggleState(int service) {
  Text result;
  OnUiThread([&](Window& window) { result = window.ReadTag(names::ServiceToggle(service)); });
  return result;
}

Text ControlBridge::ReadResultBox(int service) {
  Text result;
  OnUiThread([&](Window& window) { result = window.ReadText(names::ResultBox(service)); });
  return result;
}

void ControlBridge::WriteResultBox(int service, const Text& result) {
  OnUiThread([&](Window& window) { window.WriteText(names::ResultBox(service), result); });
}

void ControlBridge::ShowMessage(const Text& message, const Text& title) {
  OnUiThread([&](Window& window) { window.ShowMessage(message, title); });
}

}  // namespace velmo::ui::qt
