#include "digitizer/rect_tracker.h"

#include <algorithm>
#include <cstdlib>

namespace digitizer {
namespace {

bool Near(int value, int target, int reach) { return value >= target - reach && value < target + reach; }

}  // namespace

TrackerHit RectTracker::HitTest(int x, int y) const {
  // The handles lie outside the rectangle: a handle's square ends at the edge.
  const int h = kHandleSize;
  const int midX = (rect_.left + rect_.right) / 2;
  const int midY = (rect_.top + rect_.bottom) / 2;
  const bool atLeft = x >= rect_.left - h && x < rect_.left;
  const bool atRight = x >= rect_.right && x < rect_.right + h;
  const bool atTop = y >= rect_.top - h && y < rect_.top;
  const bool atBottom = y >= rect_.bottom && y < rect_.bottom + h;
  const bool atMidX = Near(x, midX, (h + 1) / 2);
  const bool atMidY = Near(y, midY, (h + 1) / 2);
  if (atLeft && atTop) return TrackerHit::kTopLeft;
  if (atRight && atTop) return TrackerHit::kTopRight;
  if (atRight && atBottom) return TrackerHit::kBottomRight;
  if (atLeft && atBottom) return TrackerHit::kBottomLeft;
  if (atTop && atMidX) return TrackerHit::kTop;
  if (atRight && atMidY) return TrackerHit::kRight;
  if (atBottom && atMidX) return TrackerHit::kBottom;
  if (atLeft && atMidY) return TrackerHit::kLeft;
  if (rect_.Contains(x, y)) return TrackerHit::kMove;
  return TrackerHit::kNone;
}

bool RectTracker::Begin(int x, int y) {
  hit_ = HitTest(x, y);
  start_ = rect_;
  fromX_ = x;
  fromY_ = y;
  return hit_ != TrackerHit::kNone;
}

void RectTracker::Drag(int x, int y) {
  if (hit_ == TrackerHit::kNone) return;
  const int dx = x - fromX_;
  const int dy = y - fromY_;
  ViewRect r = start_;
  if (hit_ == TrackerHit::kMove) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
    rect_ = r;
    return;
  }
  const bool left = hit_ == TrackerHit::kTopLeft || hit_ == TrackerHit::kBottomLeft || hit_ == TrackerHit::kLeft;
  const bool right = hit_ == TrackerHit::kTopRight || hit_ == TrackerHit::kBottomRight || hit_ == TrackerHit::kRight;
  const bool top = hit_ == TrackerHit::kTopLeft || hit_ == TrackerHit::kTopRight || hit_ == TrackerHit::kTop;
  const bool bottom =
      hit_ == TrackerHit::kBottomLeft || hit_ == TrackerHit::kBottomRight || hit_ == TrackerHit::kBottom;
  if (left) r.left = std::min(start_.left + dx, r.right - minWidth_);
  if (right) r.right = std::max(start_.right + dx, r.left + minWidth_);
  if (top) r.top = std::min(start_.top + dy, r.bottom - minHeight_);
  if (bottom) r.bottom = std::max(start_.bottom + dy, r.top + minHeight_);
  rect_ = r;
}

bool RectTracker::End() {
  const bool changed = hit_ != TrackerHit::kNone && !(rect_ == start_);
  hit_ = TrackerHit::kNone;
  return changed;
}

}  // namespace digitizer
