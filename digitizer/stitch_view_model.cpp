#include "digitizer/stitch_view_model.h"

#include <algorithm>

namespace digitizer {

namespace {

constexpr double kUnitsPerInch = 254.0;  // 0.1 mm
constexpr int kDefaultDotsPerInch = 96;

// Rounds towards minus infinity, so that a margin left of the frame is shown whole.
int FloorDiv(int64_t a, int64_t b) { return static_cast<int>(a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0)); }

// The span low..high (0.1 mm) at zoom quarters: s = zoom x (high - low) as the hoop's
// zoom x (2.5 w + 50) was, total s / 4, page s / 20, line s / 200.
ScrollAxis AxisFor(int zoom, int low, int high) {
  const int64_t s = static_cast<int64_t>(zoom) * (static_cast<int64_t>(high) - low);
  return {FloorDiv(static_cast<int64_t>(zoom) * low, kFullZoom), static_cast<int>(s / 4), static_cast<int>(s / 20),
          static_cast<int>(s / 200)};
}

// The scroll position that keeps designPoint (0.1 mm) under the cursor, within the axis.
int KeepUnderCursor(int designPoint, int cursor, int zoom, int client, const ScrollAxis& axis) {
  const int wanted = designPoint * zoom / kFullZoom - cursor;
  return std::clamp(wanted, axis.first, axis.Last(client));
}

}  // namespace

StitchViewArea StitchViewAreaOf(int workWidth, int workHeight, const DrawnExtents& stitches) {
  // The hoop frame runs from (0, 0) to (2.5 w, 2.5 h).
  const int frameRight = workWidth * 5 / 2;
  const int frameBottom = workHeight * 5 / 2;
  return {std::min(0, stitches.left) - kStitchViewMargin, std::min(0, stitches.top) - kStitchViewMargin,
          std::max(frameRight, stitches.right) + kStitchViewMargin,
          std::max(frameBottom, stitches.bottom) + kStitchViewMargin};
}

StitchViewArea StitchViewAreaOf(const CStitchDesign& design) {
  return StitchViewAreaOf(design.WorkWidth(), design.WorkHeight(), design.Extents());
}

int NextPenWidth(MouseButton button, int penWidth) {
  if (button == MouseButton::kLeft) {
    switch (penWidth) {
      case 0: return 1;
      case 1: return 4;
      case 4: return 7;
      case 7:
      case 10: return 10;
      default: return 0;
    }
  }
  switch (penWidth) {
    case 10: return 7;
    case 7: return 4;
    case 4: return 1;
    default: return 0;
  }
}

double ScreenDotsPerUnit(int dotsPerInch) {
  // A screen reporting no density is taken as the common 96 dots per inch.
  return (dotsPerInch > 0 ? dotsPerInch : kDefaultDotsPerInch) / kUnitsPerInch;
}

int UnitsFromDots(int dots, int dotsPerInch) {
  return static_cast<int>(dots / ScreenDotsPerUnit(dotsPerInch));
}

int NextClickZoom(MouseButton button, int zoom) {
  if (button == MouseButton::kLeft) {
    // From below 75 % a click goes straight to 100 %.
    if (zoom < 3) return kMinClickZoom;
    return std::min(zoom + 1, kMaxClickZoom);
  }
  return std::max(zoom - 1, kMinClickZoom);
}

void StcViewModel::RenewScroll(const StitchViewArea& area) {
  scroll_ = {AxisFor(zoom_, area.left, area.right), AxisFor(zoom_, area.top, area.bottom)};
}

void StcViewModel::OnUpdate(const StitchViewArea& area) {
  zoomMode_ = false;
  zoom_ = kFullZoom;
  penWidth_ = 0;
  RenewScroll(area);
}

void StcViewModel::SetZoom(int index, const StitchViewArea& area) {
  // The menu only offers 2..9; anything smaller would shrink the view to nothing.
  zoom_ = std::max(index, 1);
  RenewScroll(area);
}

StcViewModel::ClickResult StcViewModel::OnClick(MouseButton button, bool ctrl, int cursorX,
                                                int cursorY, int scrollX, int scrollY,
                                                int clientWidth, int clientHeight,
                                                const StitchViewArea& area) {
  if (!zoomMode_) return {false, scrollX, scrollY};
  if (ctrl) {
    penWidth_ = NextPenWidth(button, penWidth_);
    return {true, scrollX, scrollY};
  }
  const int designX = (scrollX + cursorX) * kFullZoom / zoom_;
  const int designY = (scrollY + cursorY) * kFullZoom / zoom_;
  zoom_ = NextClickZoom(button, zoom_);
  RenewScroll(area);
  return {true, KeepUnderCursor(designX, cursorX, zoom_, clientWidth, scroll_.x),
          KeepUnderCursor(designY, cursorY, zoom_, clientHeight, scroll_.y)};
}

void StcViewModel::OnBackgroundColour(bool accepted, platform::PaletteColour colour) {
  backgroundMode_ = accepted;
  if (accepted) background_ = colour;
}

bool StcViewModel::ShouldDraw(int32_t outputCount, bool transferBusy) {
  return !(transferBusy && outputCount > kBusyDrawPairLimit);
}

int StcViewModel::Draw(CStitchDesign& design, platform::Canvas& canvas, bool transferBusy,
                       platform::DesignLayer* layer) const {
  // A worker is writing the stitches: nothing of them is read, not even their count.
  if (design.Busy()) return 0;
  if (!ShouldDraw(design.GetOutputCount(), transferBusy)) return 0;
  const design::StitchRecord* record = design.Record();
  if (layer == nullptr || record == nullptr || design.Busy() || design.Error() != kDesignOk) {
    return DrawStitchDesign(design, canvas, zoom_, penWidth_);
  }
  // What decides the pixels: the head (colours), the pairs the walk may read, the zoom, the
  // pen and the work area.
  const std::size_t walked =
      std::min(record->StitchRoom(), 2 * static_cast<std::size_t>(std::max<int32_t>(record->PairCount(), 0)));
  uint64_t look = platform::FoldLook(0, record->Bytes().first(design::StitchRecord::kHeadSize + walked));
  look = platform::FoldLookValue(look, zoom_);
  look = platform::FoldLookValue(look, penWidth_);
  look = platform::FoldLookValue(look, design.WorkWidth());
  look = platform::FoldLookValue(look, design.WorkHeight());
  int result = 0;
  platform::PaintDesign(layer, canvas, {record, look, 0, 0, false}, [&](platform::Canvas& target) {
    result = DrawStitchDesign(design, target, zoom_, penWidth_, false);
  });
  // The frame's one-pixel sides are drawn on the view itself: a kept drawing is shrunk to the
  // screen's scale, which would drop thin lines wherever they fall between its samples.
  DrawHoopFrame(design, canvas, zoom_);
  return result;
}

}  // namespace digitizer
