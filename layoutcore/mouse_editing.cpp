// The geometry of mouse editing on a layout: hit tests, handles, angles, drags and resizes
// between logical pixels and layout units (0.5 mm, y downward).

#include "layoutcore/mouse_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace editor {

namespace {

// Degrees per radian as the view has always turned pointer angles.
constexpr double kRadiansToDegrees = 57.29577951471995;
// A handle grabs within this share of the zoom, in pixels.
constexpr double kCornerToleranceShare = 0.03;

int Zoomed(int32_t layout, float zoom) { return static_cast<int>(static_cast<float>(layout) * zoom / 100.0f); }

double ToLayout(int pixel, float zoom) { return (pixel - kLayoutMargin) * 100.0 / zoom; }

int32_t GrownHalf(int32_t half) { return half < 0 ? half - kRotateGrip : half + kRotateGrip; }

bool StrictlyInside(int32_t c, int32_t size) { return c > 0 && c < size; }

}  // namespace

bool PointInDesign(int32_t halfWidth, int32_t halfHeight, int32_t centreX, int32_t centreY,
                   int32_t rotation, PixelPoint point, bool exact, float zoom) {
  if (!exact) {
    halfWidth = GrownHalf(halfWidth);
    halfHeight = GrownHalf(halfHeight);
  }
  const int cx = Zoomed(centreX, zoom), cy = Zoomed(centreY, zoom);
  const int w = std::abs(Zoomed(halfWidth, zoom)), h = std::abs(Zoomed(halfHeight, zoom));
  // The point turned back by the design's rotation about its centre (y downward, so a
  // positive rotation is clockwise on screen).
  const double t = -rotation * kDegreesToRadians;
  const double dx = point.x - kLayoutMargin - cx, dy = point.y - kLayoutMargin - cy;
  const int u = RoundAway(dx * std::cos(t) - dy * std::sin(t));
  const int v = RoundAway(dx * std::sin(t) + dy * std::cos(t));
  return u >= -w && u <= w && v >= -h && v <= h;
}

int QuadrantOfPoint(PixelPoint corner, int32_t centreX, int32_t centreY, float zoom) {
  const double x = ToLayout(corner.x, zoom), y = ToLayout(corner.y, zoom);
  const bool rightBelow = x > centreX && y > centreY;
  const bool leftAbove = x < centreX && y < centreY;
  return rightBelow || leftAbove ? kHandleNwse : kHandleNesw;
}

int CornerTolerance(float zoom) { return static_cast<int>(zoom * kCornerToleranceShare); }

int PointAngle(PixelPoint point, int32_t centreX, int32_t centreY, float zoom) {
  const double vx = point.x - Zoomed(centreX, zoom) - kLayoutMargin;
  const double vy = point.y - Zoomed(centreY, zoom) - kLayoutMargin;
  return static_cast<int>(std::atan2(vy, vx) * kRadiansToDegrees);
}

int32_t TurnedRotation(int32_t rotation, int angle, int startAngle) {
  return static_cast<int32_t>((static_cast<int64_t>(angle) + rotation - startAngle) % 360);
}

DraggedCentre DragCentre(PixelPoint point, PixelPoint grab, float zoom, int32_t layoutWidth,
                         int32_t layoutHeight) {
  const auto axis = [zoom](int pixel, int32_t size, bool& clamped) {
    const auto c = static_cast<int32_t>(pixel * 100.0 / zoom);
    const int32_t held = std::clamp(c, int32_t{1}, std::max(int32_t{1}, size - 1));
    clamped = clamped || held != c;
    return held;
  };
  DraggedCentre d;
  d.x = axis(point.x + grab.x, layoutWidth, d.clamped);
  d.y = axis(point.y + grab.y, layoutHeight, d.clamped);
  return d;
}

ResizeScales ResizeScalesAt(PixelPoint point, int32_t centreX, int32_t centreY, int32_t rotation,
                            int32_t placedHalfWidth, int32_t placedHalfHeight, ResizeScales current,
                            float zoom) {
  const double vx = ToLayout(point.x, zoom) - centreX;
  const double vy = ToLayout(point.y, zoom) - centreY;
  const double a = -rotation * kDegreesToRadians;
  const double alongX = std::abs(vx * std::cos(a) - vy * std::sin(a));
  const double alongY = std::abs(vx * std::sin(a) + vy * std::cos(a));
  ResizeScales s = current;
  if (placedHalfWidth > 0) s.x = std::clamp(alongX / placedHalfWidth, kMinResize, kMaxResize);
  if (placedHalfHeight > 0) s.y = std::clamp(alongY / placedHalfHeight, kMinResize, kMaxResize);
  return s;
}

int32_t ReflectIntoLayout(int32_t coordinate, int32_t size) {
  if (StrictlyInside(coordinate, size) || size < 2) return coordinate;
  const int32_t held = std::clamp(coordinate, int32_t{1}, size - 1);
  const int64_t reflected = 2 * int64_t{held} - coordinate;
  // A centre that lay further outside than the layout is wide would be reflected past the
  // far edge and stay outside: it stops at that edge instead.
  return static_cast<int32_t>(std::clamp(reflected, int64_t{1}, int64_t{size} - 1));
}

}  // namespace editor
