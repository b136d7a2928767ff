#pragma once

// When the splash picture shows and what closes it, kept apart from the window that paints
// it. One splash at most per process; a program started with the splash turned off never
// shows it, not even from the About box.

namespace design {

// Input that reaches the program while the splash shows.
enum class SplashInput { kKeyDown, kSystemKeyDown, kMouseDown, kNonClientMouseDown, kOther };

// Started at program start-up, the splash closes by itself after this long.
constexpr int kSplashStartupMs = 3000;

class SplashRules {
 public:
  void Enable(bool enabled) { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }

  // Whether a request to show may create the splash: enabled and none showing.
  bool MayShow(bool splashExists) const { return enabled_ && !splashExists; }
  // The close timer: only a start-up splash has one (0: none, it waits for input).
  static int TimerMs(bool startup) { return startup ? kSplashStartupMs : 0; }
  // A key or a mouse button going down closes the splash and is swallowed.
  static bool Closes(SplashInput input) { return input != SplashInput::kOther; }

 private:
  bool enabled_ = true;
};

}  // namespace design
