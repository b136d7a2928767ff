// The Maxiframe layout's painting: the grey around it, the background colour and picture,
// grid, centre lines, the inner edges of the two hoop positions, the layout's frame, every
// design (light grey when it does not fit a position) and the selected design's frame.

#include <algorithm>

#include "design/thread_colors.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/vantle_view.h"
#include "layoutcore/layout_geometry.h"
#include "layoutcore/detached_stitch_drawing.h"
#include "layoutcore/selection_frame.h"
#include "layoutcore/stitch_pen.h"
#include "layoutcore/stitch_walk.h"

namespace hooplayout {

namespace {

using platform::PenStyle;

constexpr int32_t kGridStep = 20;        // layout units: 10 mm
constexpr int32_t kGridFirstColumn = 10;  // columns phased through the centre line at 230
constexpr int32_t kLayoutCentreX = kLayoutWidth / 2;
constexpr int32_t kLayoutCentreY = kLayoutHeight / 2;
// Inner edges of the two positions: space A starts at 180, space B ends at 280.
constexpr int32_t kSpaceAEdge = kSpaceALeft / kStitchesPerLayoutUnit;
constexpr int32_t kSpaceBEdge = kSpaceBRight / kStitchesPerLayoutUnit;

// The first tile at or before the clip edge, on a grid anchored at 0.
int FirstTile(int clipEdge, int side) {
  const int n = clipEdge / side;
  return (clipEdge < 0 && clipEdge % side != 0 ? n - 1 : n) * side;
}

}  // namespace

void CVantleView::DrawDesign(platform::Canvas& canvas, const LayoutDesign& d, bool valid, bool moving) const {
  const design::LayoutStitchRecord& record = *d.working;
  const int colours = std::clamp<int>(record.ColourCount(), 0, design::LayoutStitchRecord::kColourSlots);
  editor::BlockColour colourOf = [&](int block) -> platform::PaletteColour {
    if (!valid || colours == 0) return kInvalidDesignGrey;
    return design::ThreadCodeToRGB(record.ThreadCode(std::min(block, colours - 1)));
  };
  const float startX = static_cast<float>(d.startX) * zoom_ / 100.0f + kViewMargin;
  const float startY = static_cast<float>(d.startY) * zoom_ / 100.0f + kViewMargin;
  // A colour change past the last block keeps the last colour: the first blocks decide all.
  uint64_t look = platform::FoldLook(0, record.StitchArea());
  for (int block = 0; block < std::max(colours, 1); ++block) look = platform::FoldLookValue(look, colourOf(block));
  look = platform::FoldLookValue(look, zoom_);
  look = platform::FoldLookValue(look, d.angle);
  const platform::DesignDrawing drawing{&record, look, startX, startY, moving};
  const float zoom = zoom_;
  platform::PaintDesign(
      layer_, canvas, drawing,
      [&](platform::Canvas& target) {
        editor::StitchPen pen(target, colourOf, zoom, d.angle, startX, startY, run_);
        editor::WalkStitchBytes(record.StitchArea(), pen);
        pen.Finish();
      },
      [&] {
        std::vector<platform::PaletteColour> blockColours;
        for (int block = 0; block < std::max(colours, 1); ++block) blockColours.push_back(colourOf(block));
        return editor::DetachedStitchDrawing(record.StitchArea(), std::move(blockColours), zoom, d.angle, startX,
                                             startY);
      });
}

void CVantleView::OnPaint(platform::Canvas& canvas, const platform::CanvasRect& clip) {
  auto px = [this](int32_t layoutUnits) { return editor::ToPixel(layoutUnits, zoom_); };
  auto line = [&](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    canvas.MoveTo(px(x0), px(y0));
    canvas.LineTo(px(x1), px(y1));
  };

  canvas.FillRect(clip, kOutsideGrey);
  canvas.FillRect({px(0), px(0), px(kLayoutWidth), px(kLayoutHeight)}, background_.background);
  if (picture_ && picture_->width > 0 && picture_->height > 0) {
    for (int y = FirstTile(clip.top, picture_->height); y < clip.bottom; y += picture_->height) {
      for (int x = FirstTile(clip.left, picture_->width); x < clip.right; x += picture_->width) {
        host_.DrawPicture(*picture_, x, y);
      }
    }
  }
  // While a transfer dialog runs only the background is painted.
  if (host_.TransferBusy()) return;

  if (background_.gridOn) {
    canvas.SetPen(background_.grid, 1, PenStyle::kDotted);
    for (int32_t y = 0; y < kLayoutHeight; y += kGridStep) line(0, y, kLayoutWidth, y);
    for (int32_t x = kGridFirstColumn; x < kLayoutWidth; x += kGridStep) line(x, 0, x, kLayoutHeight);
  }
  if (background_.centreLineOn) {
    canvas.SetPen(background_.centreLine, 1, PenStyle::kDotted);
    line(kLayoutCentreX, 0, kLayoutCentreX, kLayoutHeight);
    line(0, kLayoutCentreY, kLayoutWidth, kLayoutCentreY);
  }
  canvas.SetPen(platform::kPaletteBlack, 1, PenStyle::kDotted);
  line(kSpaceAEdge, 0, kSpaceAEdge, kLayoutHeight);
  line(kSpaceBEdge, 0, kSpaceBEdge, kLayoutHeight);
  canvas.SetPen(platform::kPaletteBlack, 2, PenStyle::kSolid);
  canvas.Rectangle({px(0), px(0), px(kLayoutWidth), px(kLayoutHeight)});

  // From the tail to the head: the head, the newest or last selected design, ends on top.
  allValid_ = true;
  // The design being dragged may be painted from its last drawing until the drag ends.
  const design::LayoutStitchRecord* dragged =
      drag_.buttonDown && drag_.moved && selectionShown_ ? current_.working.get() : nullptr;
  const DesignList& designs = doc_.GetDesignList();
  for (auto it = designs.rbegin(); it != designs.rend(); ++it) {
    if (!it->working) continue;
    const bool valid = IsValidPlacement(GetRotatedDesignExtents(*it));
    if (!valid) allValid_ = false;
    DrawDesign(canvas, *it, valid, it->working.get() == dragged);
  }

  if (selectionShown_ && currentPos_) {
    ComputeFrame();
    editor::DrawSelectionFrame(canvas, frame_, zoom_);
  }
}

}  // namespace hooplayout
