#pragma once

// Layout units (0.5 mm, y downward) to the view's logical pixels at a zoom in percent, and
// the zoom steps. Designs and frames stand 20 pixels in from the layout's corner; grid,
// sheet and centre lines 21.

#include <array>
#include <cmath>
#include <cstdint>

namespace editor {

constexpr int kLayoutMargin = 20;  // pixels around the layout on every side
constexpr int kLineOffset = 21;
constexpr double kDegreesToRadians = 0.017453292519444445;
constexpr float kStartZoom = 100.0f;
constexpr float kMinZoomStep = 50.0f;
constexpr float kMaxZoomStep = 800.0f;
// Over View never zooms below this, however small the window.
constexpr float kMinOverViewZoom = 1.0f;

constexpr std::array<float, 7> kZoomSteps{50, 75, 100, 200, 400, 600, 800};

inline int ToPixel(int32_t layout, float zoom) {
  return static_cast<int>(static_cast<float>(layout) * zoom / 100.0f) + kLayoutMargin;
}
inline int ToLinePixel(int32_t layout, float zoom) {
  return static_cast<int>(static_cast<float>(layout) * zoom / 100.0f) + kLineOffset;
}

// The next step above (or below) the zoom; the zoom itself at the end of the steps.
inline float NextZoomUp(float zoom) {
  for (float step : kZoomSteps) {
    if (zoom < step) return step;
  }
  return zoom;
}
inline float NextZoomDown(float zoom) {
  for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
    if (zoom > *it) return *it;
  }
  return zoom;
}

// Points and rectangles in logical pixels of the scrolled layout.
struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The printable page in layout units (0.5 mm).
struct PageSize {
  int32_t width = 498;
  int32_t height = 360;
};

// Rounds half away from zero, as the frame's corners are.
inline int RoundAway(double v) { return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5); }

}  // namespace editor
