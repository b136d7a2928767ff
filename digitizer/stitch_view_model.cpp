#include "digitizer/stitch_view_model.h"

#include <algorithm>

namespace digitizer {

namespace {

// The view reaches 25 mm beyond the hoop frame.
constexpr int kScrollMargin = 50;  // 0.1 mm
// A client this wide (high) in design units at 100 % shows the whole area: no scrolling.
constexpr int kNoScrollWidth = 1400;
constexpr int kNoScrollHeight = 2000;
constexpr double kUnitsPerInch = 254.0;  // 0.1 mm
constexpr int kDefaultDotsPerInch = 96;

ScrollAxis AxisFor(int zoom, int workSize) {
  // zoom x (2.5 w + 50), kept in integers: 2.5 w = 5 w / 2.
  const int64_t s = static_cast<int64_t>(zoom) * (5 * static_cast<int64_t>(workSize) + 2 * kScrollMargin) / 2;
  return {static_cast<int>(s / 4), static_cast<int>(s / 20), static_cast<int>(s / 200)};
}

// The scroll position that keeps designPoint under the cursor, or the old one when the
// client shows the whole axis.
int KeepUnderCursor(int designPoint, int cursor, int zoom, int client, int noScrollSize,
                    int total, int oldPosition) {
  if (client >= zoom * noScrollSize / 4) return oldPosition;
  const int wanted = designPoint * zoom / kFullZoom - cursor;
  return std::clamp(wanted, 0, std::max(0, total - client));
}

}  // namespace

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

void StcViewModel::RenewScroll(int workWidth, int workHeight) {
  scroll_ = {AxisFor(zoom_, workWidth), AxisFor(zoom_, workHeight)};
}

void StcViewModel::OnUpdate(int workWidth, int workHeight) {
  zoomMode_ = false;
  zoom_ = kFullZoom;
  penWidth_ = 0;
  RenewScroll(workWidth, workHeight);
}

void StcViewModel::SetZoom(int index, int workWidth, int workHeight) {
  // The menu only offers 2..9; anything smaller would shrink the view to nothing.
  zoom_ = std::max(index, 1);
  RenewScroll(workWidth, workHeight);
}

StcViewModel::ClickResult StcViewModel::OnClick(MouseButton button, bool ctrl, int cursorX,
                                                int cursorY, int scrollX, int scrollY,
                                                int clientWidth, int clientHeight,
                                                int workWidth, int workHeight) {
  if (!zoomMode_) return {false, scrollX, scrollY};
  if (ctrl) {
    penWidth_ = NextPenWidth(button, penWidth_);
    return {true, scrollX, scrollY};
  }
  const int designX = (scrollX + cursorX) * kFullZoom / zoom_;
  const int designY = (scrollY + cursorY) * kFullZoom / zoom_;
  zoom_ = NextClickZoom(button, zoom_);
  RenewScroll(workWidth, workHeight);
  return {true,
          KeepUnderCursor(designX, cursorX, zoom_, clientWidth, kNoScrollWidth, scroll_.x.total,
                          scrollX),
          KeepUnderCursor(designY, cursorY, zoom_, clientHeight, kNoScrollHeight,
                          scroll_.y.total, scrollY)};
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
  // pen, the work area and the hoop frame's colour.
  const std::size_t walked =
      std::min(record->StitchRoom(), 2 * static_cast<std::size_t>(std::max<int32_t>(record->PairCount(), 0)));
  uint64_t look = platform::FoldLook(0, record->Bytes().first(design::StitchRecord::kHeadSize + walked));
  look = platform::FoldLookValue(look, zoom_);
  look = platform::FoldLookValue(look, penWidth_);
  look = platform::FoldLookValue(look, design.WorkWidth());
  look = platform::FoldLookValue(look, design.WorkHeight());
  look = platform::FoldLookValue(look, design.IsInsideHoop());
  int result = 0;
  platform::PaintDesign(layer, canvas, {record, look, 0, 0, false}, [&](platform::Canvas& target) {
    result = DrawStitchDesign(design, target, zoom_, penWidth_);
  });
  return result;
}

}  // namespace digitizer
