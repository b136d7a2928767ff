#include "platform/event.h"

#include <new>

#include "platform/abort_event.h"

namespace platform {

void ManualResetEvent::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  changed_.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool ManualResetEvent::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return set_; });
}

}  // namespace platform

struct VelinorAbortEvent {
  platform::ManualResetEvent event;
};

extern "C" {

VelinorAbortEvent* AbortEventCreate(void) { return new (std::nothrow) VelinorAbortEvent; }

void AbortEventDestroy(VelinorAbortEvent* event) { delete event; }

void AbortEventSet(VelinorAbortEvent* event) {
  if (event) event->event.Set();
}

void AbortEventReset(VelinorAbortEvent* event) {
  if (event) event->event.Reset();
}

int AbortEventIsSet(const VelinorAbortEvent* event) {
  return event && event->event.IsSet() ? 1 : 0;
}

}  // extern "C"
