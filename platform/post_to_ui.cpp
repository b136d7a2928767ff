#include "platform/post_to_ui.h"

#include <deque>
#include <map>
#include <mutex>

namespace platform {

namespace {

struct Posted {
  WindowHandle target;
  unsigned message;
  uintptr_t wparam;
  intptr_t lparam;
};

struct UiQueue {
  std::mutex mutex;
  std::deque<Posted> queue;
  std::map<WindowHandle, UiReceiver> receivers;
  std::function<void()> wakeUp;
};

UiQueue& Queue() {
  static UiQueue queue;
  return queue;
}

}  // namespace

void RegisterUiReceiver(WindowHandle target, UiReceiver receiver) {
  if (target == nullptr) return;
  std::lock_guard lock(Queue().mutex);
  Queue().receivers[target] = std::move(receiver);
}

void UnregisterUiReceiver(WindowHandle target) {
  std::lock_guard lock(Queue().mutex);
  Queue().receivers.erase(target);
  // A handle is the window's address, and the next dialog made on the same stack frame
  // gets the same one: what was posted to the window that is gone must go with it.
  std::erase_if(Queue().queue, [target](const Posted& posted) { return posted.target == target; });
}

bool IsUiReceiverRegistered(WindowHandle target) {
  std::lock_guard lock(Queue().mutex);
  return Queue().receivers.count(target) != 0;
}

void PostToUi(WindowHandle target, unsigned message, uintptr_t wparam, intptr_t lparam) {
  std::function<void()> wakeUp;
  {
    std::lock_guard lock(Queue().mutex);
    Queue().queue.push_back({target, message, wparam, lparam});
    wakeUp = Queue().wakeUp;
  }
  if (wakeUp) wakeUp();
}

int DeliverPostedMessages() {
  int delivered = 0;
  for (;;) {
    Posted posted{};
    UiReceiver receiver;
    {
      std::lock_guard lock(Queue().mutex);
      if (Queue().queue.empty()) break;
      posted = Queue().queue.front();
      Queue().queue.pop_front();
      auto found = Queue().receivers.find(posted.target);
      if (found == Queue().receivers.end()) continue;
      receiver = found->second;
    }
    // Outside the lock: a receiver may post, register or run a nested event loop.
    receiver(posted.message, posted.wparam, posted.lparam);
    ++delivered;
  }
  return delivered;
}

void SetUiWakeUp(std::function<void()> wakeUp) {
  std::lock_guard lock(Queue().mutex);
  Queue().wakeUp = std::move(wakeUp);
}

}  // namespace platform
