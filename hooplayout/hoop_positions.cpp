#include "hooplayout/hoop_positions.h"

#include <algorithm>
#include <cmath>

#include "layoutcore/layout_geometry.h"
#include "layoutcore/stitch_walk.h"

namespace hooplayout {

LayoutPoint RotateOffset(int32_t x, int32_t y, int32_t angleDegrees) {
  const double a = angleDegrees * kLayoutDegreesToRadians;
  const double c = std::cos(a);
  const double s = std::sin(a);
  return {editor::RoundAway(x * c - y * s), editor::RoundAway(x * s + y * c)};
}

LayoutPoint StartFromCentre(const LayoutDesign& d) {
  const LayoutPoint turned = RotateOffset(d.startOffsetX, d.startOffsetY, d.angle);
  return {d.centreX + turned.x, d.centreY + turned.y};
}

LayoutPoint CentreFromStart(const LayoutDesign& d) {
  const LayoutPoint turned = RotateOffset(d.startOffsetX, d.startOffsetY, d.angle);
  return {d.startX - turned.x, d.startY - turned.y};
}

namespace {

// Sums the stream's moves (dy upward) and turns each needle point as the drawing does. The
// whole path counts the start point and the jumps before the first stitch too.
class RotatedBounds {
 public:
  RotatedBounds(const LayoutDesign& d, bool wholePath)
      : originX_(d.startX * kStitchesPerLayoutUnit), originY_(d.startY * kStitchesPerLayoutUnit), wholePath_(wholePath) {
    const double a = d.angle * kLayoutDegreesToRadians;
    cos_ = std::cos(a);
    sin_ = std::sin(a);
    if (wholePath_) Count();
  }

  void ColourChange() {}
  void Jump(int dx, int dy, bool) {
    Move(dx, dy);
    if (stitched_ || wholePath_) Count();
  }
  void Stitch(int dx, int dy) {
    Move(dx, dy);
    stitched_ = true;
    Count();
  }

  StitchExtents Result() const {
    if (!counted_) return {originX_, originY_, originX_, originY_};
    return extents_;
  }

 private:
  void Move(int dx, int dy) {
    sumX_ += dx;
    sumY_ += dy;
  }
  void Count() {
    // Turned clockwise on screen: the stream's dy grows upward, the layout's y downward.
    const int32_t x = originX_ + editor::RoundAway(cos_ * sumX_ + sin_ * sumY_);
    const int32_t y = originY_ + editor::RoundAway(sin_ * sumX_ - cos_ * sumY_);
    if (!counted_) {
      extents_ = {x, y, x, y};
      counted_ = true;
      return;
    }
    extents_.left = std::min(extents_.left, x);
    extents_.right = std::max(extents_.right, x);
    extents_.top = std::min(extents_.top, y);
    extents_.bottom = std::max(extents_.bottom, y);
  }

  int32_t originX_;
  int32_t originY_;
  bool wholePath_;
  double cos_ = 1.0;
  double sin_ = 0.0;
  int64_t sumX_ = 0;
  int64_t sumY_ = 0;
  bool stitched_ = false;
  bool counted_ = false;
  StitchExtents extents_;
};

}  // namespace

namespace {

StitchExtents Bounds(const LayoutDesign& design, bool wholePath) {
  RotatedBounds bounds(design, wholePath);
  if (design.working) editor::WalkStitchBytes(design.working->StitchArea(), bounds);
  return bounds.Result();
}

}  // namespace

StitchExtents GetRotatedDesignExtents(const LayoutDesign& design) { return Bounds(design, false); }

StitchExtents GetNeedlePathExtents(const LayoutDesign& design) { return Bounds(design, true); }

bool InsideLayout(const StitchExtents& e) {
  return e.left >= 0 && e.right <= kLayoutStitchWidth && e.top >= 0 && e.bottom <= kLayoutStitchHeight;
}

bool FitsOnePosition(const StitchExtents& e) { return !(e.left < kSpaceALeft && e.right > kSpaceBRight); }

SewingSpace SpaceOf(const StitchExtents& e) { return e.left >= kSpaceALeft ? SewingSpace::kA : SewingSpace::kB; }

bool IsValidPlacement(const StitchExtents& e) { return InsideLayout(e) && FitsOnePosition(e); }

bool InsidePosition(const StitchExtents& e, SewingSpace space) {
  const int32_t left = space == SewingSpace::kA ? kSpaceALeft : 0;
  const int32_t right = space == SewingSpace::kA ? kLayoutStitchWidth : kSpaceBRight;
  return e.left >= left && e.right <= right && e.top >= 0 && e.bottom <= kLayoutStitchHeight;
}

}  // namespace hooplayout
