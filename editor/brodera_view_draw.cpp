// The layout view's drawing: background, grid, sheet borders, centre lines, the layout's
// border, every design in its thread colours (gray when its centre lies outside the
// layout) and the selected design's frame. Logical pixels: a layout point (x, y) in 0.5 mm
// lies at (x z / 100 + 20, y z / 100 + 20); lines at + 21.

#include <cmath>
#include <vector>

#include "editor/brodera_view.h"
#include "layoutcore/detached_stitch_drawing.h"
#include "layoutcore/selection_frame.h"
#include "layoutcore/stitch_pen.h"
#include "layoutcore/stitch_walk.h"
#include "platform/canvas.h"

namespace editor {

namespace {
// Wider than the frame's 2-pixel line by a pixel on each side.
constexpr int kFrameHaloWidth = 4;
}  // namespace

namespace {

using platform::CanvasPoint;
using platform::PaletteColour;
using platform::PenStyle;

constexpr int kGridStep = 20;  // layout units: 10 mm
constexpr PaletteColour kSheetBorderColour = 0x020000FF;  // palette red
constexpr PaletteColour kOutsideColour = 0x02DCDCDC;      // gray: centre outside the layout

PaletteColour FromRgb(uint32_t rgb) { return platform::kPaletteRelativeFlag | (rgb & 0xFFFFFF); }

void Line(platform::Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

}  // namespace

void CBroderaView::DrawStitchRecord(platform::Canvas& canvas, const design::StitchRecord& record,
                                    int32_t rotation, int32_t x, int32_t y, bool inColour,
                                    bool moving) const {
  const float startX = static_cast<float>(x) * zoom_ / 100.0f + kLayoutMargin;
  const float startY = static_cast<float>(y) * zoom_ / 100.0f + kLayoutMargin;
  const int colours = std::min(record.ColourCount(), design::kMaxColours);
  BlockColour colourOf = [&](int block) -> PaletteColour {
    if (!inColour || !colourOf_) return kOutsideColour;
    if (block >= colours) block = colours - 1;
    if (block < 0) return kOutsideColour;
    return colourOf_(record.ThreadCode(block));
  };
  // A colour change past the last block keeps the last colour: the first blocks decide all.
  uint64_t look = platform::FoldLook(0, record.StitchArea());
  for (int block = 0; block < std::max(colours, 1); ++block) look = platform::FoldLookValue(look, colourOf(block));
  look = platform::FoldLookValue(look, zoom_);
  look = platform::FoldLookValue(look, rotation);
  const platform::DesignDrawing drawing{&record, look, startX, startY, moving};
  const float zoom = zoom_;
  platform::PaintDesign(
      layer_, canvas, drawing,
      [&](platform::Canvas& target) {
        StitchPen pen(target, colourOf, zoom, rotation, startX, startY, run_);
        WalkDesignStitches(record, pen);
        pen.Finish();
      },
      [&] {
        std::vector<PaletteColour> blockColours;
        for (int block = 0; block < std::max(colours, 1); ++block) blockColours.push_back(colourOf(block));
        return DetachedStitchDrawing(record.StitchArea(), std::move(blockColours), zoom, rotation, startX, startY);
      });
}

void CBroderaView::OnDraw(platform::Canvas& canvas) {
  // The page last measured by the application (Print Setup may have changed it).
  page_ = host_.MeasurePage();
  MeasureLayout();
  const int right = ToLinePixel(layoutWidth_, zoom_);
  const int bottom = ToLinePixel(layoutHeight_, zoom_);
  canvas.FillRect({0, 0, right + kLayoutMargin + 1, bottom + kLayoutMargin + 1}, FromRgb(background_));
  // While a transfer dialog runs only the background is painted.
  if (host_.TransferBusy()) return;

  if (gridMode_ != kGridOff) {
    canvas.SetPen(FromRgb(gridColour_), 1, PenStyle::kDotted);
    for (int32_t y = (layoutHeight_ / 2) % kGridStep; y < layoutHeight_; y += kGridStep) {
      Line(canvas, kLineOffset, ToLinePixel(y, zoom_), right, ToLinePixel(y, zoom_));
    }
    for (int32_t x = (layoutWidth_ / 2) % kGridStep; x < layoutWidth_; x += kGridStep) {
      Line(canvas, ToLinePixel(x, zoom_), kLineOffset, ToLinePixel(x, zoom_), bottom);
    }
  }
  if (sheetsAcross_ * sheetsDown_ > 1) {
    canvas.SetPen(kSheetBorderColour, 1, PenStyle::kDotted);
    const int pageWidth = static_cast<int>(static_cast<float>(page_.width) * zoom_ / 100.0f);
    const int pageHeight = static_cast<int>(static_cast<float>(page_.height) * zoom_ / 100.0f);
    for (int i = 1; i < sheetsAcross_; ++i) Line(canvas, kLineOffset + i * pageWidth, kLineOffset, kLineOffset + i * pageWidth, bottom);
    for (int i = 1; i < sheetsDown_; ++i) Line(canvas, kLineOffset, kLineOffset + i * pageHeight, right, kLineOffset + i * pageHeight);
  }
  if (centreMode_ != kCentreOff) {
    canvas.SetPen(FromRgb(centreColour_), 1);
    const int cx = ToLinePixel(layoutCentreX_, zoom_), cy = ToLinePixel(layoutCentreY_, zoom_);
    Line(canvas, kLineOffset, cy, right, cy);
    Line(canvas, cx, kLineOffset, cx, bottom);
  }
  canvas.SetPen(platform::kPaletteBlack, 2);
  const CanvasPoint border[5] = {{kLayoutMargin, kLayoutMargin}, {right, kLayoutMargin}, {right, bottom},
                                 {kLayoutMargin, bottom}, {kLayoutMargin, kLayoutMargin}};
  canvas.Polyline(border);

  // From the tail to the head: the head ends on top.
  // The design being dragged may be painted from its last drawing until the drag ends.
  const design::StitchRecord* dragged =
      mouse_.leftDown && mouse_.dragged && selectionShown_ ? current_.working.get() : nullptr;
  const DesignList& designs = doc_.GetDesignList();
  for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
    if (!it->working) continue;
    const bool inside = it->centreX > 0 && it->centreX < layoutWidth_ && it->centreY > 0 &&
                        it->centreY < layoutHeight_;
    const bool inColour = inside && !(combineMode_ && it->combineMark != 0);
    DrawStitchRecord(canvas, *it->working, it->rotation, it->centreX, it->centreY, inColour,
                     it->working.get() == dragged);
  }

  if (selectionShown_ && currentPos_) {
    frame_ = ComputeDesignCorners(current_);
    // A white halo under the black frame: the frame shows on any background colour.
    std::vector<platform::CanvasPoint> halo;
    for (const PixelPoint& p : frame_) halo.push_back({p.x, p.y});
    canvas.SetPen(platform::kPaletteWhite, kFrameHaloWidth);
    canvas.Polyline(halo);
    DrawSelectionFrame(canvas, frame_, zoom_);
  }
  if (combineMode_) DrawCombineBox(canvas);
}

}  // namespace editor
