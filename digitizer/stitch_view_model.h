#pragma once

// The stitch view's state without a screen: zoom (in quarters, 4 = 100 %), the pen width the
// user steps through with Ctrl-clicks, the fabric background, the scroll sizes for the work
// area, and whether a paint may go ahead while a transfer is busy. The Qt scroll view only
// shows this state and forwards clicks and menu commands.

#include <algorithm>
#include <cstdint>

#include "digitizer/stitch_view_drawing.h"
#include "platform/canvas.h"
#include "platform/drawing_layer.h"

namespace digitizer {

// A design of more pairs than this is not redrawn while a transfer dialog is busy: walking it
// would hold up the user-interface thread the transfer reports through.
constexpr int32_t kBusyDrawPairLimit = 32699;
// Zoom clicks keep the view between 100 % and 325 %.
constexpr int kMinClickZoom = 4;
constexpr int kMaxClickZoom = 13;
constexpr platform::PaletteColour kDefaultBackground = platform::kPaletteWhite;

// One scroll bar in view units: the positions run from `first` (the left or top edge of what
// the view shows, negative where stitches or the margin lie left of or above the hoop frame)
// over `total` units.
struct ScrollAxis {
  int first = 0;
  int total = 0;
  int page = 0;
  int line = 0;
  // The last position at which a client of that size still shows the far edge.
  int Last(int client) const { return first + std::max(0, total - client); }
};

struct ScrollSizes {
  ScrollAxis x;
  ScrollAxis y;
};

enum class MouseButton { kLeft, kRight };

// What the view shows, in 0.1 mm from the hoop frame's top-left, y downwards: the hoop frame
// and every stitch, with a margin round both.
struct StitchViewArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The view's margin round the hoop frame and the stitches.
constexpr int kStitchViewMargin = 50;  // 0.1 mm
// The area of a work area of w x h pixels (0.25 mm) holding stitches within `stitches`.
StitchViewArea StitchViewAreaOf(int workWidth, int workHeight, const DrawnExtents& stitches);
// The area of the design's hoop and its stitches as last measured.
StitchViewArea StitchViewAreaOf(const CStitchDesign& design);

class StcViewModel {
 public:
  // A new document or design: zoom mode off, 100 %, the thinnest pen.
  void OnUpdate(const StitchViewArea& area);
  // The zoom menu's indices 2..9 (50 % to 225 %).
  void SetZoom(int index, const StitchViewArea& area);
  void SetZoomMode(bool on) { zoomMode_ = on; }
  bool ZoomMode() const { return zoomMode_; }
  int Zoom() const { return zoom_; }
  int PenWidth() const { return penWidth_; }
  const ScrollSizes& Scroll() const { return scroll_; }

  // A click in zoom mode. With Ctrl the pen width steps; without, the zoom steps and the
  // scroll position (view units) is moved so the design point under the cursor stays there.
  // clientWidth/Height and cursorX/Y are in view units, scrollX/Y the current position.
  struct ClickResult {
    bool handled = false;
    int scrollX = 0;
    int scrollY = 0;
  };
  ClickResult OnClick(MouseButton button, bool ctrl, int cursorX, int cursorY, int scrollX,
                      int scrollY, int clientWidth, int clientHeight, const StitchViewArea& area);

  // The colour dialog's answer: OK fills the background with the colour, Cancel stops filling.
  void OnBackgroundColour(bool accepted, platform::PaletteColour colour);
  bool FillsBackground() const { return backgroundMode_; }
  platform::PaletteColour Background() const { return background_; }

  // True when the zoom cursor shows at this point.
  bool ShowsZoomCursor(bool insideClient) const { return zoomMode_ && insideClient; }
  static bool PrintEnabled(const CStitchDesign& design) { return design.GetOutputCount() > 0; }
  // False while a transfer is busy and the design is too long to walk in a paint.
  static bool ShouldDraw(int32_t outputCount, bool transferBusy);
  // Paints the design unless ShouldDraw says no; the result of the drawing, or 0. With a
  // layer, the design's drawing may come from the layer's copy of an earlier one.
  int Draw(CStitchDesign& design, platform::Canvas& canvas, bool transferBusy,
           platform::DesignLayer* layer = nullptr) const;

 private:
  void RenewScroll(const StitchViewArea& area);

  bool zoomMode_ = false;
  int zoom_ = kFullZoom;
  int penWidth_ = 0;
  bool backgroundMode_ = false;
  platform::PaletteColour background_ = kDefaultBackground;
  ScrollSizes scroll_;
};

int NextPenWidth(MouseButton button, int penWidth);

// The view's unit is 0.1 mm of fabric, shown at the screen's true size: a screen of dotsPerInch
// dots shows 254 units per inch. Pixel counts from the screen become units, and back.
double ScreenDotsPerUnit(int dotsPerInch);
int UnitsFromDots(int dots, int dotsPerInch);
int NextClickZoom(MouseButton button, int zoom);

}  // namespace digitizer
