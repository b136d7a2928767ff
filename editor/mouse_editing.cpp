// The layout view's mouse handling: selecting a design by clicking it (which brings it to
// the top), moving it by dragging, resizing it by a corner handle, rotating it with the
// right button, and the zoom tool's clicks. Each change goes through the current design's
// working copy and the one-level undo (kind 0 for moves and resizes, 2 for rotations).

#include "layoutcore/mouse_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editor/brodera_view.h"
#include "editor/wait_cursor.h"
#include "layoutcore/stitch_extents.h"
#include "platform/message_box.h"

namespace editor {

namespace {

constexpr char kMoveInsideText[] = "Move center of design into printable area?";

int Zoomed(int32_t layout, float zoom) { return static_cast<int>(static_cast<float>(layout) * zoom / 100.0f); }

ViewCursor HandleCursor(int handle) { return handle == kHandleNwse ? ViewCursor::kSizeNwse : ViewCursor::kSizeNesw; }

bool StrictlyInside(int32_t c, int32_t size) { return c > 0 && c < size; }

}  // namespace

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
  // While dragged the design may have been shown from its last drawing: draw it anew.
  const bool endsDrag = mouse_.leftDown && mouse_.dragged && selectionShown_ && currentPos_;
  mouse_.handle = kNoHandle;
  mouse_.leftDown = false;
  mouse_.dragged = false;
  if (endsDrag) RepaintDesign(current_);
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
