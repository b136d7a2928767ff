// The layout view's mouse handling: selecting a design by clicking it (which brings it to
// the top), moving it by dragging, resizing it by a corner handle, rotating it with the
// right button, and the zoom tool's clicks. Each change goes through the current design's
// working copy and the one-level undo (kind 0 for moves and resizes, 2 for rotations).

#include "editor/mouse_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editor/brodera_view.h"
#include "editor/stitch_extents.h"
#include "editor/wait_cursor.h"
#include "platform/message_box.h"

namespace editor {

namespace {

constexpr char kMoveInsideText[] = "Move center of design into printable area?";
// Degrees per radian as the view has always turned pointer angles.
constexpr double kRadiansToDegrees = 57.29577951471995;
// A handle grabs within this share of the zoom, in pixels.
constexpr double kCornerToleranceShare = 0.03;

int Zoomed(int32_t layout, float zoom) { return static_cast<int>(static_cast<float>(layout) * zoom / 100.0f); }

double ToLayout(int pixel, float zoom) { return (pixel - kLayoutMargin) * 100.0 / zoom; }

int32_t GrownHalf(int32_t half) { return half < 0 ? half - kRotateGrip : half + kRotateGrip; }

ViewCursor HandleCursor(int handle) { return handle == kHandleNwse ? ViewCursor::kSizeNwse : ViewCursor::kSizeNesw; }

bool StrictlyInside(int32_t c, int32_t size) { return c > 0 && c < size; }

}  // namespace

// ---- geometry ----

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

// ---- the view's handlers ----

PixelPoint CBroderaView::ToLogical(PixelPoint client) {
  const PixelPoint scroll = host_.ScrollPosition();
  return {client.x + scroll.x, client.y + scroll.y};
}

void CBroderaView::ShowCursor(ViewCursor cursor) {
  mouse_.cursor = cursor;
  if (pointer_) pointer_->SetCursor(cursor);
}

void CBroderaView::RememberPressCursor() {
  if (!mouse_.pressCursor) mouse_.pressCursor = mouse_.cursor;
}

void CBroderaView::RestorePressCursor() {
  if (!mouse_.pressCursor) return;
  ShowCursor(*mouse_.pressCursor);
  mouse_.pressCursor.reset();
}

std::optional<int> CBroderaView::CornerHandleAt(PixelPoint p) {
  if (!selectionShown_ || !currentPos_) return std::nullopt;
  frame_ = ComputeDesignCorners(current_);
  const int tolerance = CornerTolerance(zoom_);
  for (int i = 0; i < 4; ++i) {
    if (std::abs(p.x - frame_[i].x) <= tolerance && std::abs(p.y - frame_[i].y) <= tolerance) {
      return QuadrantOfPoint(frame_[i], current_.centreX, current_.centreY, zoom_);
    }
  }
  return std::nullopt;
}

void CBroderaView::OnLeftButtonDown(PixelPoint client) {
  if (mouse_.rightDown) return;
  const PixelPoint p = ToLogical(client);
  if (combineMode_) {
    GrabCombineBox(p);
    return;
  }
  if (zoomTool_) {
    if (zoom_ < kMaxZoomStep) ZoomAtPoint(p, true);
    return;
  }
  // A handle of the shown frame wins over any design under the point.
  if (const auto handle = CornerHandleAt(p)) {
    mouse_.handle = *handle;
    RememberPressCursor();
    ShowCursor(HandleCursor(*handle));
    mouse_.last = p;
    return;
  }
  if (!PressOnDesign(p)) return;
  mouse_.leftDown = true;
  mouse_.dragged = false;
  mouse_.last = p;
  placedByInsert_ = false;
}

// Selects the topmost design under the point; true when a drag may begin.
bool CBroderaView::PressOnDesign(PixelPoint p) {
  DesignList& designs = doc_.GetDesignList();
  DesignObject probe;
  std::optional<DesignPosition> hit;
  // Every design tested is fetched, as the layout has always done (it counts as a change).
  for (auto it = designs.begin(); it != designs.end(); ++it) {
    doc_.FetchDesign(it, probe);
    if (PointInDesign(probe.halfWidth, probe.halfHeight, probe.centreX, probe.centreY, probe.rotation, p, true,
                      zoom_)) {
      hit = it;
      break;
    }
  }
  if (!hit) {
    HideSelection();
    return false;
  }
  WaitCursor wait(host_);
  if (selectionShown_ && currentPos_) RepaintDesign(current_);
  current_ = std::move(probe);
  ShowSelectionAt(doc_.BringDesignToFront(*hit));
  mouse_.grab = {Zoomed(current_.centreX, zoom_) - p.x, Zoomed(current_.centreY, zoom_) - p.y};
  if (StrictlyInside(current_.centreX, layoutWidth_) && StrictlyInside(current_.centreY, layoutHeight_)) {
    RememberPressCursor();
    ShowCursor(ViewCursor::kSizeAll);
    return true;
  }
  MoveCentreInside();
  return false;
}

// A design whose centre lies outside the layout cannot be dragged until the user lets the
// program move it inside.
void CBroderaView::MoveCentreInside() {
  if (platform::MessageBox(nullptr, kMoveInsideText, kAppCaption,
                           platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  MoveCurrentTo(ReflectIntoLayout(current_.centreX, layoutWidth_), ReflectIntoLayout(current_.centreY, layoutHeight_));
}

void CBroderaView::OnMouseMove(PixelPoint client) {
  const PixelPoint p = ToLogical(client);
  if (p == mouse_.last) return;
  mouse_.last = p;
  if (combineMode_ && combine_.boxGrabbed) {
    MoveCombineBox(p);
  } else if (mouse_.handle != kNoHandle) {
    ResizeTo(p);
  } else if (mouse_.leftDown && selectionShown_ && currentPos_) {
    MoveTo(p);
  } else if (mouse_.rightDown && mouse_.rotating && currentPos_) {
    RotateTo(p);
  }
}

void CBroderaView::ResizeTo(PixelPoint p) {
  if (!currentPos_) return;
  if (!mouse_.dragged) {
    SaveForUndo(kUndoRestore);
    mouse_.dragged = true;
  }
  const ResizeScales s =
      ResizeScalesAt(p, current_.centreX, current_.centreY, current_.rotation, current_.placedHalfWidth,
                     current_.placedHalfHeight, {current_.scaleX, current_.scaleY}, zoom_);
  if ((s.x == kMinResize && s.y == kMinResize) || (s.x == kMaxResize && s.y == kMaxResize)) {
    ShowCursor(ViewCursor::kNo);
    return;
  }
  DesignObject resized = current_;
  resized.scaleX = s.x;
  resized.scaleY = s.y;
  RecordPtr remade = RemadeWorkingRecord(resized);
  if (!remade) {
    ShowCursor(ViewCursor::kNo);  // the design stays as it was
    return;
  }
  const PixelRect before = FrameToLogicalRect(current_);
  resized.working = std::move(remade);
  resized.extents = GetStitchExtents(*resized.working);
  TakeHalfSizes(resized);
  current_ = std::move(resized);
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  ShowCursor(HandleCursor(mouse_.handle));
  RepaintUnion(before);
}

void CBroderaView::MoveTo(PixelPoint p) {
  if (!mouse_.dragged) {
    SaveForUndo(kUndoRestore);
    mouse_.dragged = true;
  }
  const DraggedCentre c = DragCentre(p, mouse_.grab, zoom_, layoutWidth_, layoutHeight_);
  mouse_.clamped = c.clamped;
  ShowCursor(c.clamped ? ViewCursor::kNo : ViewCursor::kSizeAll);
  MoveCurrentTo(c.x, c.y);
}

void CBroderaView::MoveCurrentTo(int32_t x, int32_t y) {
  const PixelRect before = FrameToLogicalRect(current_);
  current_.centreX = x;
  current_.centreY = y;
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  RepaintUnion(before);
}

void CBroderaView::RotateTo(PixelPoint p) {
  if (!mouse_.dragged) {
    SaveForUndo(kUndoRotate);
    mouse_.dragged = true;
  }
  const int angle = PointAngle(p, current_.centreX, current_.centreY, zoom_);
  const PixelRect before = FrameToLogicalRect(current_);
  current_.rotation = TurnedRotation(current_.rotation, angle, mouse_.startAngle);
  mouse_.startAngle = angle;
  StoreCurrent();
  frame_ = ComputeDesignCorners(current_);
  RepaintUnion(before);
}

void CBroderaView::OnLeftButtonUp(PixelPoint client) {
  const PixelPoint p = ToLogical(client);
  if (!zoomTool_) {
    if (!placedByInsert_ && selectionShown_ && mouse_.dragged && currentPos_) {
      if (mouse_.handle != kNoHandle) {
        StoreCurrent();
      } else if (mouse_.leftDown) {
        // The last point's centre, unless it lies at or beyond the layout's edge: then the
        // centre stays where the drag held it.
        const DraggedCentre c = DragCentre(p, mouse_.grab, zoom_, layoutWidth_, layoutHeight_);
        if (!c.clamped) MoveCurrentTo(c.x, c.y);
      }
    }
  }
  if (combineMode_ && combine_.boxGrabbed) PlaceCombineBox(p);
  if (!zoomTool_) RestorePressCursor();
  mouse_.handle = kNoHandle;
  mouse_.leftDown = false;
  mouse_.dragged = false;
  mouse_.clamped = false;
  placedByInsert_ = false;
}

void CBroderaView::OnRightButtonDown(PixelPoint client) {
  const PixelPoint p = ToLogical(client);
  mouse_.last = p;
  mouse_.handle = kNoHandle;
  mouse_.rotating = false;
  if (zoomTool_) {
    if (zoom_ > kMinZoomStep) ZoomAtPoint(p, false);
  } else if (selectionShown_ && currentPos_ &&
             PointInDesign(current_.halfWidth, current_.halfHeight, current_.centreX, current_.centreY,
                           current_.rotation, p, false, zoom_)) {
    mouse_.rotating = true;
    RememberPressCursor();
    ShowCursor(ViewCursor::kRotate);
    mouse_.startAngle = PointAngle(p, current_.centreX, current_.centreY, zoom_);
    RepaintDesign(current_);
  }
  mouse_.rightDown = true;
}

void CBroderaView::OnRightButtonUp(PixelPoint client) {
  const PixelPoint p = ToLogical(client);
  if (!mouse_.leftDown && !zoomTool_ && mouse_.rotating && currentPos_) {
    RestorePressCursor();
    if (p != mouse_.last) {
      WaitCursor wait(host_);
      mouse_.last = p;
      RotateTo(p);
    }
  }
  // The right button is up whatever mode the press came in: a flag left set would make
  // every later left press be ignored.
  mouse_.rotating = false;
  mouse_.rightDown = false;
  mouse_.dragged = false;
}

bool CBroderaView::OnSetCursor(PixelPoint client, bool inClient) {
  if (mouse_.rotating && mouse_.rightDown) {
    ShowCursor(ViewCursor::kRotate);
  } else if (zoomTool_) {
    ShowCursor(inClient ? ViewCursor::kZoom : ViewCursor::kArrow);
  } else if (mouse_.leftDown && mouse_.dragged) {
    ShowCursor(mouse_.clamped ? ViewCursor::kNo : ViewCursor::kSizeAll);
  } else if (selectionShown_ && currentPos_) {
    const auto handle = CornerHandleAt(ToLogical(client));
    ShowCursor(handle ? HandleCursor(*handle) : ViewCursor::kArrow);
  } else {
    mouse_.cursor = ViewCursor::kDefault;
    return false;
  }
  return true;
}

}  // namespace editor
