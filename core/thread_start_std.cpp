// Workers on std::thread, detached at once so that nothing holds on to them.

#include <new>
#include <system_error>
#include <thread>
#include <utility>

#include "core/thread_start.h"

namespace velmo::core {

bool StartDetachedThread(std::function<void()> entry) {
  try {
    std::thread(std::move(entry)).detach();
    return true;
  } catch (const std::system_error&) {
    // The system refused another thread (too many, or out of resources).
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace velmo::core
