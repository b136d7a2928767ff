#pragma once

// Draws a design's stitch bytes as a layout view shows them: from the design's first point,
// each pair turned by the design's rotation and scaled to the zoom (one stitch unit of
// 0.1 mm is zoom x 0.002 logical pixels), accumulated in floating point and truncated for
// each line; stitch dy grows upward, pixels downward. Stitches and sewn long stitches are
// lines; jumps and the landing after a jump run only move the pen; each colour change takes
// the next block's colour. Shared by Brodera's and the hoop-layout program's views.

#include <cmath>
#include <cstdint>
#include <functional>

#include "layoutcore/layout_geometry.h"
#include "platform/canvas.h"

namespace editor {

// The pen colour of colour block i (0 for the first), palette-relative.
using BlockColour = std::function<platform::PaletteColour(int block)>;

class StitchPen {
 public:
  // One stitch unit (0.1 mm) is a fifth of a layout unit: at zoom z it is z x 0.002 pixels.
  static constexpr float kStitchToPixelPerZoom = 0.002f;

  StitchPen(platform::Canvas& canvas, BlockColour colourOf, float zoom, int32_t rotation,
            float startX, float startY)
      : canvas_(canvas), colourOf_(std::move(colourOf)), x_(startX), y_(startY) {
    const double a = -rotation * kDegreesToRadians;
    const float scale = zoom * kStitchToPixelPerZoom;
    cosA_ = static_cast<float>(std::cos(a)) * scale;
    sinA_ = static_cast<float>(std::sin(a)) * scale;
    canvas_.SetPen(colourOf_(0), 1);
    canvas_.MoveTo(static_cast<int>(x_), static_cast<int>(y_));
  }

  void ColourChange() {
    ++block_;
    canvas_.SetPen(colourOf_(block_), 1);
  }
  void Jump(int dx, int dy, bool sewnLongStitch) {
    Advance(dx, dy);
    if (sewnLongStitch) {
      // Sewn, not jumped: the pair after it is sewn too, even after a jump run.
      canvas_.LineTo(static_cast<int>(x_), static_cast<int>(y_));
      landing_ = false;
      return;
    }
    canvas_.MoveTo(static_cast<int>(x_), static_cast<int>(y_));
    landing_ = true;
  }
  void Stitch(int dx, int dy) {
    Advance(dx, dy);
    if (landing_) {
      canvas_.MoveTo(static_cast<int>(x_), static_cast<int>(y_));
      landing_ = false;
      return;
    }
    canvas_.LineTo(static_cast<int>(x_), static_cast<int>(y_));
  }

 private:
  void Advance(int dx, int dy) {
    x_ += cosA_ * dx - sinA_ * dy;
    y_ -= sinA_ * dx + cosA_ * dy;  // dy grows upward, pixels downward
  }

  platform::Canvas& canvas_;
  BlockColour colourOf_;
  float x_, y_;
  float cosA_ = 1, sinA_ = 0;
  int block_ = 0;
  bool landing_ = false;
};

}  // namespace editor
