#pragma once

// Draws a design's stitch bytes as a layout view shows them: from the design's first point,
// each pair turned by the design's rotation and scaled to the zoom (one stitch unit of
// 0.1 mm is zoom x 0.002 logical pixels), accumulated in floating point and truncated for
// each line; stitch dy grows upward, pixels downward. Stitches and sewn long stitches are
// lines; jumps and the landing after a jump run only move the pen; each colour change takes
// the next block's colour. Shared by Brodera's and the hoop-layout program's views.
//
// Connected stitches of one colour go to the canvas as one line run: a surface pays per
// call, not per point. A run that lies wholly outside the canvas's clip box is not sent.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "layoutcore/layout_geometry.h"
#include "platform/canvas.h"

namespace editor {

// The pen colour of colour block i (0 for the first), palette-relative.
using BlockColour = std::function<platform::PaletteColour(int block)>;

class StitchPen {
 public:
  // One stitch unit (0.1 mm) is a fifth of a layout unit: at zoom z it is z x 0.002 pixels.
  static constexpr float kStitchToPixelPerZoom = 0.002f;
  // What a 1-pixel line can reach beyond its points.
  static constexpr int kPenReach = 1;

  // run: the caller's buffer for a run's points, kept between designs so that drawing
  // allocates nothing once it has grown to the longest run.
  StitchPen(platform::Canvas& canvas, BlockColour colourOf, float zoom, int32_t rotation,
            float startX, float startY, std::vector<platform::CanvasPoint>& run)
      : canvas_(canvas), colourOf_(std::move(colourOf)), run_(run), clip_(canvas.ClipBox()),
        x_(startX), y_(startY) {
    const double a = -rotation * kDegreesToRadians;
    const float scale = zoom * kStitchToPixelPerZoom;
    cosA_ = static_cast<float>(std::cos(a)) * scale;
    sinA_ = static_cast<float>(std::sin(a)) * scale;
    canvas_.SetPen(colourOf_(0), 1);
    StartRun();
  }

  void ColourChange() {
    Flush();
    ++block_;
    canvas_.SetPen(colourOf_(block_), 1);
    StartRun();
  }
  void Jump(int dx, int dy, bool sewnLongStitch) {
    Advance(dx, dy);
    if (sewnLongStitch) {
      // Sewn, not jumped: the pair after it is sewn too, even after a jump run.
      Extend();
      landing_ = false;
      return;
    }
    Flush();
    StartRun();
    landing_ = true;
  }
  void Stitch(int dx, int dy) {
    Advance(dx, dy);
    if (landing_) {
      Flush();
      StartRun();
      landing_ = false;
      return;
    }
    Extend();
  }
  // Sends the last run; call once the walk has ended.
  void Finish() { Flush(); }

 private:
  void Advance(int dx, int dy) {
    x_ += cosA_ * dx - sinA_ * dy;
    y_ -= sinA_ * dx + cosA_ * dy;  // dy grows upward, pixels downward
  }
  void StartRun() {
    run_.clear();
    const platform::CanvasPoint p{static_cast<int>(x_), static_cast<int>(y_)};
    run_.push_back(p);
    left_ = right_ = p.x;
    top_ = bottom_ = p.y;
  }
  void Extend() {
    const platform::CanvasPoint p{static_cast<int>(x_), static_cast<int>(y_)};
    run_.push_back(p);
    left_ = std::min(left_, p.x), right_ = std::max(right_, p.x);
    top_ = std::min(top_, p.y), bottom_ = std::max(bottom_, p.y);
  }
  void Flush() {
    if (run_.size() < 2) return;
    const bool outside = right_ + kPenReach < clip_.left || left_ - kPenReach >= clip_.right ||
                         bottom_ + kPenReach < clip_.top || top_ - kPenReach >= clip_.bottom;
    if (!outside) canvas_.LineRun(run_);
    // The next run goes on from the last point, as the pen did.
    const platform::CanvasPoint last = run_.back();
    run_.clear();
    run_.push_back(last);
    left_ = right_ = last.x;
    top_ = bottom_ = last.y;
  }

  platform::Canvas& canvas_;
  BlockColour colourOf_;
  std::vector<platform::CanvasPoint>& run_;
  platform::CanvasRect clip_;
  float x_, y_;
  float cosA_ = 1, sinA_ = 0;
  int block_ = 0;
  bool landing_ = false;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

}  // namespace editor
