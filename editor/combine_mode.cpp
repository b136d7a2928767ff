// Combine mode of the layout view: the combine box, picking the designs wholly inside it,
// and replacing the picked designs by one combined design.

#include "editor/combine_mode.h"

#include <cmath>
#include <vector>

#include "design/stitch_encoder.h"
#include "editor/brodera_view.h"
#include "layoutcore/selection_frame.h"
#include "editor/design_combiner.h"
#include "editor/wait_cursor.h"
#include "layoutcore/stitch_extents.h"
#include "layoutcore/stitch_walk.h"
#include "platform/canvas.h"
#include "platform/message_box.h"

namespace editor {

namespace {

// One layout unit (0.5 mm) is five stitch units (0.1 mm).
constexpr double kStitchPerLayout = 5.0;

// Follows the turned needle and tells whether every point stays within the bounds.
class BoxTest {
 public:
  BoxTest(int32_t rotation, int32_t x, int32_t y, const LayoutBounds& bounds)
      : x_(x), y_(y), bounds_(bounds) {
    const double a = -rotation * kDegreesToRadians;
    cos_ = std::cos(a);
    sin_ = std::sin(a);
  }
  bool Inside() const { return inside_; }

  void ColourChange() {}
  void Jump(int dx, int dy, bool) {
    Turn(dx, dy);
    if (seenStitch_) Test();
  }
  void Stitch(int dx, int dy) {
    Turn(dx, dy);
    seenStitch_ = true;
    Test();
  }

 private:
  void Turn(int dx, int dy) {
    sumX_ += dx * cos_ - dy * sin_;
    sumY_ += dx * sin_ + dy * cos_;
  }
  // The turned sums stay real and are cut to whole layout units only at each point: cutting
  // every pair first would let a run of short stitches stand still and pass any box.
  void Test() {
    const auto px = static_cast<int64_t>(x_ + std::trunc(sumX_ / kStitchPerLayout));
    const auto py = static_cast<int64_t>(y_ - std::trunc(sumY_ / kStitchPerLayout));  // dy grows upward
    if (px < bounds_.left || px > bounds_.right || py < bounds_.top || py > bounds_.bottom) inside_ = false;
  }

  int32_t x_, y_;
  LayoutBounds bounds_;
  double cos_ = 1, sin_ = 0;
  double sumX_ = 0, sumY_ = 0;
  bool seenStitch_ = false;
  bool inside_ = true;
};

bool Ungrouped(const DesignObject& d) { return d.groupMark1 == kNoGroup && d.groupMark2 == kNoGroup; }

}  // namespace

bool DesignInsideBox(const design::StitchRecord& working, int32_t rotation, int32_t x, int32_t y,
                     const LayoutBounds& bounds) {
  BoxTest test(rotation, x, y, bounds);
  WalkDesignStitches(working, test);
  return test.Inside();
}

// ---- the view's combine mode ----

void CBroderaView::ToggleCombineMode() {
  undoAvailable_ = false;
  combine_ = CombineState{};
  if (combineMode_) {
    combineMode_ = false;
    host_.RedrawAll(true);
    return;
  }
  combineMode_ = true;
  HideSelection();
  for (DesignObject& d : doc_.GetDesignList()) d.combineMark = 0;
  host_.Invalidate(CombineBoxRect());
}

PixelRect CBroderaView::CombineBoxRect() const {
  const auto& [left, up, right, down] = hoopBox_;
  return {ToPixel(combineBoxX_ - left, zoom_), ToPixel(combineBoxY_ - up, zoom_), ToPixel(combineBoxX_ + right, zoom_),
          ToPixel(combineBoxY_ + down, zoom_)};
}

void CBroderaView::DrawCombineBox(platform::Canvas& canvas) const {
  const PixelRect r = CombineBoxRect();
  const platform::CanvasPoint outline[] = {
      {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
  DrawContrastingOutline(canvas, outline);
}

void CBroderaView::GrabCombineBox(PixelPoint p) {
  const PixelRect r = CombineBoxRect();
  if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom) return;
  combine_.boxGrabbed = true;
  combine_.grab = {static_cast<int>(static_cast<float>(combineBoxX_) * zoom_ / 100.0f) - p.x,
                   static_cast<int>(static_cast<float>(combineBoxY_) * zoom_ / 100.0f) - p.y};
  RememberPressCursor();
  ShowCursor(ViewCursor::kSizeAll);
}

void CBroderaView::MoveCombineBox(PixelPoint p) {
  const DraggedCentre c = DragCentre(p, combine_.grab, zoom_, layoutWidth_, layoutHeight_);
  ShowCursor(c.clamped ? ViewCursor::kNo : ViewCursor::kSizeAll);
  host_.Invalidate(CombineBoxRect());
  combineBoxX_ = c.x;
  combineBoxY_ = c.y;
  PickDesignsInBox();
  host_.Invalidate(CombineBoxRect());
}

void CBroderaView::PickDesignsInBox() {
  const auto& [left, up, right, down] = hoopBox_;
  const LayoutBounds bounds{combineBoxX_ - left + 1, combineBoxY_ - up, combineBoxX_ + right - 1,
                            combineBoxY_ + down - 1};
  combine_.pickCount = 0;
  for (DesignObject& d : doc_.GetDesignList()) {
    // A design outside the layout is left as it is.
    if (d.centreX <= 0 || d.centreX >= layoutWidth_ || d.centreY <= 0 || d.centreY >= layoutHeight_) continue;
    const bool centreInside =
        d.centreX > bounds.left && d.centreX < bounds.right && d.centreY > bounds.top && d.centreY < bounds.bottom;
    if (centreInside && Ungrouped(d) && d.working &&
        DesignInsideBox(*d.working, d.rotation, d.centreX, d.centreY, bounds)) {
      if (d.combineMark == 0) {
        d.combineMark = 1;
        RepaintDesign(d);  // now drawn in gray
      }
      ++combine_.pickCount;
    } else if (d.combineMark != 0 && Ungrouped(d)) {
      d.combineMark = 0;
      RepaintDesign(d);
    }
  }
}

void CBroderaView::PlaceCombineBox(PixelPoint p) {
  combine_.boxGrabbed = false;
  MoveCombineBox(p);
  if (combine_.pickCount < 2) return;
  if (platform::MessageBox(nullptr, kCombineQuestion, kAppCaption,
                           platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  CombinePicked();
}

void CBroderaView::CombinePicked() {
  WaitCursor wait(host_);
  RecordPtr output = NewDesignRecord();
  CDesignCombiner combiner;
  LayoutPoint centre;
  std::vector<DesignPosition> combined;
  DesignList& designs = doc_.GetDesignList();
  for (auto it = designs.begin(); it != designs.end(); ++it) {
    if (it->combineMark == 0) continue;
    it->combineMark = 0;
    combined.push_back(it);
    const int result = combiner.Combine(*it, *output, static_cast<int>(combined.size()), centre, hoopKind_);
    if (result == kCombined) continue;
    if (result == kCombineNotTransformed) {
      RefuseTransform();
    } else {
      platform::MessageBox(nullptr, result == kCombineTooManyColours ? kTooManyColoursToCombine : kTooManyStitchesToCombine,
                           kAppCaption, platform::kMbOk | platform::kMbIconExclamation);
    }
    host_.RedrawAll(false);
    return;
  }
  // Recentred before anything is removed: a merge that cannot be finished leaves the layout.
  if (combined.empty() || !design::CStitchEncoder().Recentre(*output).ok) {
    platform::MessageBox(nullptr, kTooManyStitchesToCombine, kAppCaption,
                         platform::kMbOk | platform::kMbIconExclamation);
    return;
  }
  DesignObject merged;
  // The merged design keeps the name of its topmost part.
  merged.name = combined.front()->name;
  for (const DesignPosition& position : combined) {
    doc_.RemoveDesign(position);
    doc_.SetDesignCount(doc_.GetDesignCount() - 1);
  }
  doc_.SetDesignCount(doc_.GetDesignCount() + 1);
  merged.centreX = centre.x;
  merged.centreY = centre.y;
  merged.working = output;
  merged.source = std::make_shared<design::StitchRecord>(*output);
  merged.extents = GetStitchExtents(*merged.working);
  TakeHalfSizes(merged);
  merged.placedHalfWidth = merged.halfWidth;
  merged.placedHalfHeight = merged.halfHeight;
  current_ = merged;
  currentPos_ = doc_.AddDesign(merged);
  // No undo may refer to a design the merge removed; the merge itself is not undoable.
  undoAvailable_ = false;
  undoPos_.reset();
  cornerPos_ = {};
  host_.RedrawAll(false);
  if (doc_.GetDesignCount() < 2) ToggleCombineMode();
}

}  // namespace editor
