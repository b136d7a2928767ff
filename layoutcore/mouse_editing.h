#pragma once

// The layout view's mouse editing: what a press, a drag and a release do to the current
// design, and the cursor shapes that tell the user what a press will do. The handlers are
// members of CBroderaView (mouse_editing.cpp); the geometry they share is here, free of
// any window.
//
// Points arrive in client pixels and are turned into logical pixels of the scrolled layout
// (the scroll offset added). A layout point (x, y) in 0.5 mm lies at logical pixel
// (x zoom / 100 + 20, y zoom / 100 + 20), y downward.

#include <cstdint>
#include <optional>

#include "layoutcore/layout_geometry.h"

namespace editor {

// The shapes the layout asks its window to show.
enum class ViewCursor {
  kDefault,   // whatever the window shows by itself
  kArrow,
  kSizeAll,   // a drag moves the design
  kNo,        // the drag is held at the layout's edge, or the resize is refused
  kSizeNwse,  // resize handle right-below or left-above the centre
  kSizeNesw,  // resize handle right-above or left-below the centre
  kRotate,    // right-button rotation
  kZoom,      // the zoom tool
};

// What the mouse editing needs of its window beyond ViewHost: the cursor.
class PointerHost {
 public:
  virtual ~PointerHost() = default;
  virtual void SetCursor(ViewCursor cursor) = 0;
};

// Resize handles: the quadrant of the grabbed corner about the design's centre.
constexpr int kNoHandle = 0;
constexpr int kHandleNwse = 3;  // right-below or left-above
constexpr int kHandleNesw = 4;

// A right-button press rotates when it falls within the design's rectangle grown by this
// many layout units on every side.
constexpr int32_t kRotateGrip = 20;
// Resizing keeps each axis within this share of the size the design was placed with.
constexpr double kMinResize = 0.8;
constexpr double kMaxResize = 1.2;

// The drag state of the layout view.
struct MouseState {
  bool leftDown = false;
  bool rightDown = false;
  bool dragged = false;   // the first move of this drag has saved the undo
  bool clamped = false;   // a moved centre is held at the layout's edge
  bool rotating = false;
  int handle = kNoHandle;
  PixelPoint last;        // logical pixels of the last press or move
  PixelPoint grab;        // zoomed centre minus the pressed point
  int startAngle = 0;     // degrees of the last point about the centre while rotating
  ViewCursor cursor = ViewCursor::kDefault;            // what the window shows now
  std::optional<ViewCursor> pressCursor;               // shown before the press changed it
};

// Is the logical point within the design's rectangle turned by its rotation? The half sizes
// are layout units; without exact they grow by kRotateGrip units on every side. Bounds
// count as inside.
bool PointInDesign(int32_t halfWidth, int32_t halfHeight, int32_t centreX, int32_t centreY,
                   int32_t rotation, PixelPoint point, bool exact, float zoom);

// The handle a frame corner (logical pixels) makes about the design's centre (layout units).
int QuadrantOfPoint(PixelPoint corner, int32_t centreX, int32_t centreY, float zoom);

// How far from a frame corner, in pixels on each axis, a press still grabs the handle.
int CornerTolerance(float zoom);

// The angle in whole degrees (toward zero) of a logical point about a design's centre.
int PointAngle(PixelPoint point, int32_t centreX, int32_t centreY, float zoom);

// The rotation after the pointer turned from startAngle to angle; the remainder keeps the
// sign of the sum, so a turn back past zero leaves a negative rotation.
int32_t TurnedRotation(int32_t rotation, int angle, int startAngle);

// A dragged centre: the pressed point plus the grab offset, in layout units, held within
// 1..size - 1. clamped tells whether it was held.
struct DraggedCentre {
  int32_t x = 0;
  int32_t y = 0;
  bool clamped = false;
};
DraggedCentre DragCentre(PixelPoint point, PixelPoint grab, float zoom, int32_t layoutWidth,
                         int32_t layoutHeight);

// The scales a resize handle dragged to the logical point gives: the vector from the centre
// turned into the design's own axes over the placed half sizes, each held within 0.8..1.2.
// An axis whose placed half size is not positive keeps its scale (it has no size to scale).
struct ResizeScales {
  double x = 1.0;
  double y = 1.0;
};
ResizeScales ResizeScalesAt(PixelPoint point, int32_t centreX, int32_t centreY, int32_t rotation,
                            int32_t placedHalfWidth, int32_t placedHalfHeight, ResizeScales current,
                            float zoom);

// A centre coordinate outside 0 < c < size, brought inside: clamped into 1..size - 1 and
// reflected at that bound so that it lies as far inside as it lay outside, and held inside
// when the reflection would pass the far edge.
int32_t ReflectIntoLayout(int32_t coordinate, int32_t size);

}  // namespace editor
