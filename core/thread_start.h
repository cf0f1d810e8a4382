#pragma once
// Starting a worker: the platform's part of the conversion run. Each platform
// has its own thread_start_*.cpp and CMake builds exactly one.

#include <functional>

namespace velmo::core {

// Starts the entry on a new thread of its own that nobody joins or waits for,
// and returns true; returns false when no thread could be started, and the
// entry has then not run and will not run. The run takes its thread starter as
// a value of this type, so a test can make a start fail.
using StartThread = std::function<bool(std::function<void()> entry)>;

bool StartDetachedThread(std::function<void()> entry);

}  // namespace velmo::core
