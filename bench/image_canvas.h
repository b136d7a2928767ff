#pragma once

// A plain raster image to draw layouts into in the benchmarks: 1-pixel lines by Bresenham,
// clipped to the image.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace bench {

class ImageCanvas : public platform::Canvas {
 public:
  ImageCanvas(int width, int height) : width_(width), height_(height), pixels_(std::size_t(width) * height) {}
  void SetPen(platform::PaletteColour colour, int, platform::PenStyle) override { pen_ = colour; }
  void MoveTo(int x, int y) override { x_ = x, y_ = y; }
  void LineTo(int x, int y) override {
    int x0 = x_, y0 = y_;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      Plot(x0, y0);
      if (x0 == x && y0 == y) break;
      const int e2 = 2 * error;
      if (e2 >= dy) error += dy, x0 += sx;
      if (e2 <= dx) error += dx, y0 += sy;
    }
    x_ = x, y_ = y;
  }
  void Polyline(std::span<const platform::CanvasPoint> points) override {
    if (points.empty()) return;
    MoveTo(points[0].x, points[0].y);
    for (const auto& p : points.subspan(1)) LineTo(p.x, p.y);
  }
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect& r, platform::PaletteColour colour) override {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
      std::fill(&pixels_[std::size_t(y) * width_ + std::max(r.left, 0)],
                &pixels_[std::size_t(y) * width_ + std::min(r.right, width_)], colour);
    }
  }
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
  const std::vector<uint32_t>& Pixels() const { return pixels_; }

 private:
  void Plot(int x, int y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[std::size_t(y) * width_ + x] = pen_;
  }
  int width_, height_;
  std::vector<uint32_t> pixels_;
  platform::PaletteColour pen_ = 0;
  int x_ = 0, y_ = 0;
};

}  // namespace bench
