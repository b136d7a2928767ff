// Selecting, dragging and turning designs with the mouse, and the hoop checks when a design
// is let go. Points are logical pixels of the scrolled layout: a layout point (x, y) lies at
// (20 + x z / 100, 20 + y z / 100) at zoom z.

#include <cmath>
#include <cstdlib>

#include "design/stitch_transformer.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/vantle_view.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/mouse_editing.h"
#include "layoutcore/selection_frame.h"
#include "platform/message_box.h"

namespace hooplayout {

namespace {

constexpr char kLeftOrRightText[] = "Move this design left or right !";
constexpr char kLeftOrRightAfterTurnText[] = "Move this design left or right!";
constexpr char kIntoHoopText[] = "Move this design into the hoop?";

// Whole layout units that cover a distance in stitch units, rounded up.
int32_t UnitsCovering(int32_t stitchUnits) {
  return (stitchUnits + kStitchesPerLayoutUnit - 1) / kStitchesPerLayoutUnit;
}

// The shift of the start point that brings each side of the extents inside the layout.
LayoutPoint ShiftInside(const StitchExtents& e) {
  LayoutPoint shift;
  if (e.left < 0) shift.x = UnitsCovering(-e.left);
  else if (e.right > kLayoutStitchWidth) shift.x = -UnitsCovering(e.right - kLayoutStitchWidth);
  if (e.top < 0) shift.y = UnitsCovering(-e.top);
  else if (e.bottom > kLayoutStitchHeight) shift.y = -UnitsCovering(e.bottom - kLayoutStitchHeight);
  return shift;
}

int32_t FromPixel(int pixel, float zoom) {
  return static_cast<int32_t>((pixel - kViewMargin) * 100.0 / zoom);
}

}  // namespace

void CVantleView::OnLButtonDown(PixelPoint p) {
  if (zoomTool_) {
    if (zoom_ < editor::kMaxZoomStep) ZoomIn();
    return;
  }
  // A press on a corner of the frame resizes the selected design.
  if (selectionShown_ && currentPos_) {
    const int tolerance = editor::CornerTolerance(zoom_);
    for (int i = 0; i < 4; ++i) {
      if (std::abs(p.x - frame_[i].x) > tolerance || std::abs(p.y - frame_[i].y) > tolerance) continue;
      drag_ = {};
      drag_.buttonDown = true;
      drag_.cornerKind = editor::QuadrantOfPoint(frame_[i], current_.centreX, current_.centreY, zoom_);
      drag_.last = p;
      return;
    }
  }
  DesignList& list = doc_.GetDesignList();
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (!editor::PointInDesign(it->halfWidth, it->halfHeight, it->centreX, it->centreY, it->angle, p,
                               true, zoom_)) {
      continue;
    }
    HideSelection();
    ShowSelection(doc_.BringDesignToFront(it));
    drag_ = {};
    drag_.buttonDown = true;
    drag_.last = p;
    drag_.offsetToStart = {editor::ToPixel(current_.startX, zoom_) - p.x,
                           editor::ToPixel(current_.startY, zoom_) - p.y};
    drag_.offsetToCentre = {editor::ToPixel(current_.centreX, zoom_) - p.x,
                            editor::ToPixel(current_.centreY, zoom_) - p.y};
    return;
  }
  HideSelection();
  currentPos_.reset();
}

void CVantleView::DragTo(PixelPoint p) {
  if (!drag_.moved) {
    SaveUndo(LayoutOperationKind::kMove);
    drag_.moved = true;
  }
  drag_.last = p;
  current_.startX = FromPixel(p.x + drag_.offsetToStart.x, zoom_);
  current_.startY = FromPixel(p.y + drag_.offsetToStart.y, zoom_);
  // Held at the layout's edge: the start point goes back by the whole units needed.
  const LayoutPoint shift = ShiftInside(GetRotatedDesignExtents(current_));
  current_.startX += shift.x;
  current_.startY += shift.y;
  drag_.clampedAtEdge = shift.x != 0 || shift.y != 0;
  const LayoutPoint centre = CentreFromStart(current_);
  current_.centreX = centre.x;
  current_.centreY = centre.y;
  StoreCurrent();
}

void CVantleView::ResizeTo(PixelPoint p) {
  if (!drag_.moved) {
    SaveUndo(LayoutOperationKind::kMove);
    drag_.moved = true;
  }
  drag_.last = p;
  const editor::ResizeScales scales = editor::ResizeScalesAt(
      p, current_.centreX, current_.centreY, current_.angle, current_.sourceHalfWidth,
      current_.sourceHalfHeight, {current_.scaleX, current_.scaleY}, zoom_);
  const bool bothSmallest = scales.x == editor::kMinResize && scales.y == editor::kMinResize;
  const bool bothLargest = scales.x == editor::kMaxResize && scales.y == editor::kMaxResize;
  if (bothSmallest || bothLargest) {
    drag_.clampedAtEdge = true;
    return;
  }
  // Scaling always starts again from the stitches as imported; a failed rebuild leaves the
  // working stitches as they were.
  design::CLayoutStitchTransformer transformer;
  int copied = 0;
  if (!transformer.Transform(*current_.source, *current_.working, scales.x, scales.y, copied,
                             current_.flipH != 0, current_.flipV != 0, 0)) {
    drag_.clampedAtEdge = true;
    return;
  }
  drag_.clampedAtEdge = false;
  current_.scaleX = scales.x;
  current_.scaleY = scales.y;
  MeasureWorkingSize(current_);
  StoreCurrent();
}

void CVantleView::TurnTo(PixelPoint p) {
  if (!drag_.moved) {
    SaveUndo(LayoutOperationKind::kRotate);
    drag_.moved = true;
  }
  drag_.last = p;
  const int angle = editor::PointAngle(p, current_.centreX, current_.centreY, zoom_);
  current_.angle = editor::TurnedRotation(current_.angle, angle, drag_.startAngle);
  drag_.startAngle = angle;
  const LayoutPoint start = StartFromCentre(current_);
  current_.startX = start.x;
  current_.startY = start.y;
  StoreCurrent();
}

void CVantleView::OnMouseMove(PixelPoint p) {
  if (!selectionShown_ || !currentPos_) return;
  if (drag_.rotating) {
    TurnTo(p);
  } else if (drag_.buttonDown && drag_.cornerKind != 0) {
    ResizeTo(p);
  } else if (drag_.buttonDown) {
    DragTo(p);
  }
}

void CVantleView::CheckDroppedDesign(const char* leftOrRightText) {
  const StitchExtents e = GetRotatedDesignExtents(current_);
  if (!FitsOnePosition(e)) {
    platform::MessageBox(nullptr, leftOrRightText, kProfileProgram,
                         platform::kMbOk | platform::kMbIconExclamation);
  }
  if (InsideLayout(e)) return;
  if (platform::MessageBox(nullptr, kIntoHoopText, kProfileProgram,
                           platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  const LayoutPoint shift = ShiftInside(e);
  current_.startX += shift.x;
  current_.startY += shift.y;
  current_.centreX += shift.x;
  current_.centreY += shift.y;
  StoreCurrent();
}

void CVantleView::OnLButtonUp(PixelPoint p) {
  const bool wasDown = drag_.buttonDown;
  // While dragged the design may have been shown from its last drawing: draw it anew.
  const bool endsDrag = wasDown && drag_.moved && selectionShown_ && currentPos_;
  if (wasDown && drag_.moved && !(p == drag_.last)) {
    if (drag_.cornerKind != 0) {
      ResizeTo(p);
    } else {
      DragTo(p);
    }
  }
  drag_.cornerKind = 0;
  drag_.buttonDown = false;
  drag_.clampedAtEdge = false;
  if (endsDrag) host_.Invalidate(editor::FrameRepaintRect(frame_, zoom_));
  if (wasDown && selectionShown_ && currentPos_) CheckDroppedDesign(kLeftOrRightText);
}

void CVantleView::OnRButtonDown(PixelPoint p) {
  if (zoomTool_) {
    if (zoom_ > editor::kMinZoomStep) ZoomOut();
    return;
  }
  if (!selectionShown_ || !currentPos_) return;
  if (!editor::PointInDesign(current_.halfWidth, current_.halfHeight, current_.centreX,
                             current_.centreY, current_.angle, p, false, zoom_)) {
    return;
  }
  drag_ = {};
  drag_.rotating = true;
  drag_.last = p;
  drag_.startAngle = editor::PointAngle(p, current_.centreX, current_.centreY, zoom_);
}

void CVantleView::OnRButtonUp(PixelPoint p) {
  if (!drag_.rotating) return;
  const bool moved = drag_.moved;
  if (moved) TurnTo(p);
  drag_.rotating = false;
  if (moved) CheckDroppedDesign(kLeftOrRightAfterTurnText);
}

}  // namespace hooplayout
