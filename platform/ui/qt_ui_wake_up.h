#pragma once

// Delivers the messages that workers post (platform/post_to_ui.h) from the Qt event loop:
// every post queues one drain on the application's thread.

namespace platform_ui {

// Idempotent; needs the QApplication to exist.
void InstallQtUiWakeUp();

}  // namespace platform_ui
