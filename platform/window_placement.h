#pragma once

// A main window's placement as the programs keep it in the profile: ten integers
// "%i,%i,%i,%i,%i,%i,%i,%i,%i,%i": flags, show command, minimised position x and y,
// maximised position x and y, and the normal rectangle's left, top, right and bottom
// (screen pixels).

#include <optional>
#include <string>
#include <utility>

#include "platform/export.h"

namespace platform {

constexpr int kPlacementRestoreToMaximized = 0x0002;
constexpr int kShowNormal = 1;
constexpr int kShowMaximized = 3;

struct WindowPlacement {
  int flags = 0;
  int showCommand = kShowNormal;
  int minX = -1, minY = -1;
  int maxX = -1, maxY = -1;
  int left = 0, top = 0, right = 0, bottom = 0;

  bool Maximized() const {
    return showCommand == kShowMaximized || (flags & kPlacementRestoreToMaximized) != 0;
  }
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

VELINOR_EXPORT std::string FormatWindowPlacement(const WindowPlacement& placement);
// Exactly ten integers separated by commas, and a normal rectangle that is not empty;
// anything else is nothing.
VELINOR_EXPORT std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text);

// A screen's free area in screen pixels (right and bottom exclusive).
struct ScreenArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The saved normal rectangle brought onto a screen that may be smaller or arranged
// otherwise than the one it was saved on: shrunk to the area where it is larger, then
// moved inside it. A rectangle that fits is left where it is.
VELINOR_EXPORT WindowPlacement FitPlacementOnScreen(WindowPlacement placement, const ScreenArea& area);

// A main window's first size on a screen this wide: 640 x 450 up to 640 pixels, 790 x 550 up
// to 800 and 850 x 650 up to 1024; nothing on a wider screen, where the program's own size
// stands.
VELINOR_EXPORT std::optional<std::pair<int, int>> FrameSizeForScreenWidth(int screenWidth);

}  // namespace platform
