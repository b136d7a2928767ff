#pragma once

// The rectangle tracker of the picture view: a rectangle the user moves by dragging inside it
// or sizes by one of eight handles, which sit just outside its corners and edge middles. The
// picture tracker (an imported picture's placement) and the All Lines tracker use it. Points
// are picture-view content pixels (window point plus scroll position), y downwards.

namespace digitizer {

struct ViewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// Where a point lies on the tracker: the eight handles in the order of the sizing cursors
// (top-left, top-right, bottom-right, bottom-left, top, right, bottom, left), inside (move).
enum class TrackerHit { kNone, kTopLeft, kTopRight, kBottomRight, kBottomLeft, kTop, kRight, kBottom, kLeft, kMove };

class RectTracker {
 public:
  static constexpr int kHandleSize = 7;

  RectTracker(int minWidth, int minHeight) : minWidth_(minWidth), minHeight_(minHeight) {}

  const ViewRect& Rect() const { return rect_; }
  void SetRect(const ViewRect& rect) { rect_ = rect; }
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }

  TrackerHit HitTest(int x, int y) const;
  // A press: starts a drag when the point hits the tracker; false otherwise.
  bool Begin(int x, int y);
  // Moves or sizes by the mouse's travel since Begin; a size keeps the minimum by holding the
  // edge opposite the handle.
  void Drag(int x, int y);
  // Ends the drag; true when the rectangle changed.
  bool End();
  bool Dragging() const { return hit_ != TrackerHit::kNone; }

 private:
  int minWidth_;
  int minHeight_;
  ViewRect rect_;
  ViewRect start_;
  TrackerHit hit_ = TrackerHit::kNone;
  int fromX_ = 0;
  int fromY_ = 0;
};

}  // namespace digitizer
