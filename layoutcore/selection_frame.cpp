#include "layoutcore/selection_frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "layoutcore/layout_geometry.h"

namespace editor {

namespace {

constexpr int kHandleSegments = 16;

void Circle(platform::Canvas& canvas, PixelPoint centre, int radius) {
  if (radius <= 0) return;
  std::vector<platform::CanvasPoint> points;
  for (int i = 0; i <= kHandleSegments; ++i) {
    const double t = 2 * M_PI * i / kHandleSegments;
    points.push_back({centre.x + RoundAway(radius * std::cos(t)), centre.y + RoundAway(radius * std::sin(t))});
  }
  canvas.Polyline(points);
}

}  // namespace

std::array<PixelPoint, 5> FrameCorners(int32_t centreX, int32_t centreY, int32_t halfWidth,
                                       int32_t halfHeight, int32_t angleDegrees, float zoom) {
  const double t = angleDegrees * kDegreesToRadians;
  const double c = std::cos(t), s = std::sin(t);
  const double scale = zoom / 100.0;
  const int cx = ToPixel(centreX, zoom);
  const int cy = ToPixel(centreY, zoom);
  const int w = halfWidth, h = halfHeight;
  const int offsets[4][2] = {{-w, -h}, {w, -h}, {w, h}, {-w, h}};
  std::array<PixelPoint, 5> corners{};
  for (int i = 0; i < 4; ++i) {
    const double dx = offsets[i][0], dy = offsets[i][1];
    corners[i] = {cx + RoundAway((dx * c - dy * s) * scale), cy + RoundAway((dx * s + dy * c) * scale)};
  }
  corners[4] = corners[0];
  return corners;
}

PixelRect FrameRepaintRect(const std::array<PixelPoint, 5>& corners, float zoom) {
  PixelRect r{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (int i = 1; i < 4; ++i) {
    r.left = std::min(r.left, corners[i].x);
    r.top = std::min(r.top, corners[i].y);
    r.right = std::max(r.right, corners[i].x);
    r.bottom = std::max(r.bottom, corners[i].y);
  }
  const int grow = static_cast<int>(2 + zoom * 0.04);
  return {r.left - grow, r.top - grow, r.right + grow, r.bottom + grow};
}

void DrawSelectionFrame(platform::Canvas& canvas, const std::array<PixelPoint, 5>& corners, float zoom) {
  std::vector<platform::CanvasPoint> frame;
  for (const PixelPoint& p : corners) frame.push_back({p.x, p.y});
  canvas.SetPen(platform::kPaletteBlack, 2);
  canvas.Polyline(frame);
  canvas.SetPen(platform::kPaletteBlack, 1);
  const int radius = static_cast<int>(4 * zoom / 100.0f);
  for (int i = 0; i < 4; ++i) Circle(canvas, corners[i], radius);
}

void DrawContrastingOutline(platform::Canvas& canvas, std::span<const platform::CanvasPoint> points) {
  canvas.SetPen(platform::kPaletteWhite, 1);
  canvas.Polyline(points);
  canvas.SetPen(platform::kPaletteBlack, 1, platform::PenStyle::kDotted);
  canvas.Polyline(points);
}

}  // namespace editor
