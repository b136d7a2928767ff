#pragma once

// For the install check: a program started with VELINOR_QUIT_AFTER_START set ends once its
// start has run, whatever the start shows (its splash, a message box waiting for an answer).

namespace platform_ui {

// Call before the program's start; nothing happens unless the variable is set. Needs the
// QApplication to exist.
void QuitAfterStartWhenAsked();

}  // namespace platform_ui
