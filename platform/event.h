#pragma once

// A manual-reset event: once set it stays set until reset, and every waiter sees it. The
// transfer dialogs set one to ask a worker to stop; the worker only tests it between
// reads, so it never waits on it for long.

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/export.h"

namespace platform {

class VELINOR_EXPORT ManualResetEvent {
 public:
  void Set();
  void Reset();
  bool IsSet() const;
  // Waits until the event is set or the time has passed; true when it is set.
  bool WaitFor(std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_ = false;
};

}  // namespace platform
