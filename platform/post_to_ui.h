#pragma once

// Messages from a worker to a window, delivered on the user-interface thread. A window that
// wants them registers a receiver under its handle; a worker posts with that handle and
// returns at once. Posted messages wait in one process-wide queue until the user-interface
// thread drains it: the Qt programs install a wake-up that drains it from their event loop,
// tests drain it themselves. A message for a window that is gone by then is dropped.

#include <cstdint>
#include <functional>

#include "platform/export.h"
#include "platform/message_box.h"

namespace platform {

// The first message number free for a window's own use; private messages count from it.
inline constexpr unsigned kUserMessage = 0x400;

using UiReceiver = std::function<void(unsigned message, uintptr_t wparam, intptr_t lparam)>;

// Registers (or replaces) the receiver of a window; null target is ignored.
VELINOR_EXPORT void RegisterUiReceiver(WindowHandle target, UiReceiver receiver);
// Forgets it and drops the messages still queued for it, so that a later window made at
// the same address never receives them.
VELINOR_EXPORT void UnregisterUiReceiver(WindowHandle target);
// True while a receiver is registered for the window.
VELINOR_EXPORT bool IsUiReceiverRegistered(WindowHandle target);

// Queues a message for the window and wakes the user-interface thread. Any thread.
VELINOR_EXPORT void PostToUi(WindowHandle target, unsigned message, uintptr_t wparam,
                             intptr_t lparam);

// Delivers every queued message in order, on the calling thread (the user-interface
// thread). Returns how many reached a receiver.
VELINOR_EXPORT int DeliverPostedMessages();

// Called after every post, on the posting thread; the Qt side asks its event loop to
// drain the queue. Null: nothing is woken, the queue waits for DeliverPostedMessages.
VELINOR_EXPORT void SetUiWakeUp(std::function<void()> wakeUp);

}  // namespace platform
