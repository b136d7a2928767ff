#include "digitizer/stitch_view_drawing.h"

#include <algorithm>

#include "design/stitch_stream.h"
#include "design/thread_colors.h"

namespace digitizer {

namespace {

int Scaled(int v, int zoom) { return v * zoom / kFullZoom; }

bool Drawable(const CStitchDesign& design) {
  const design::StitchRecord* record = design.Record();
  return !design.Busy() && record != nullptr && design.Error() == kDesignOk && record->ColourCount() >= 1 &&
         record->ColourCount() <= design::kMaxColours;
}

}  // namespace

void WalkDesignSteps(std::span<const uint8_t> stitches, int32_t maxPairs, int colourCount,
                     int startX, int startY, const std::function<void(const StitchStep&)>& step) {
  if (maxPairs <= 0 || colourCount <= 0) return;
  const std::size_t limit =
      std::min(stitches.size(), 2 * static_cast<std::size_t>(maxPairs));
  int x = startX;
  int y = startY;
  int block = 0;
  // Jumps at the start of a block only move the pen; after a jump run the first plain pair is
  // the landing, a move the machine makes without sewing.
  bool blockStart = true;
  bool landingPending = false;
  step({StitchStepKind::kBlockStart, 0, x, y, x, y});
  std::size_t p = 0;
  while (p + 2 <= limit) {
    const uint8_t* pair = &stitches[p];
    const uint8_t b = pair[1];
    if (!design::IsControl(pair)) {
      const int nx = x + design::PairDx(pair);
      const int ny = y - design::PairDy(pair);
      StitchStepKind kind = StitchStepKind::kSew;
      if (landingPending) kind = blockStart ? StitchStepKind::kBlockMove : StitchStepKind::kJump;
      step({kind, block, x, y, nx, ny});
      if (kind == StitchStepKind::kSew) blockStart = false;
      landingPending = false;
      x = nx;
      y = ny;
      p += 2;
      continue;
    }
    if (b == design::kEnd) return;
    // The second jump code is read like the first: its move pair follows, so skipping only
    // the control pair would draw the move as a stitch.
    if (b == design::kColourChange || design::IsJumpCode(b)) {
      if (p + 4 > limit) return;
      const int dx = design::PairDx(pair + 2);
      const int dy = design::PairDy(pair + 2);
      const int nx = x + dx;
      const int ny = y - dy;
      if (b == design::kColourChange) {
        if (block + 1 >= colourCount) return;
        ++block;
        blockStart = true;
        step({StitchStepKind::kBlockStart, block, x, y, x, y});
        step({StitchStepKind::kBlockMove, block, x, y, nx, ny});
      } else if (design::IsSewnLongStitchMove(dx, dy)) {
        step({StitchStepKind::kSew, block, x, y, nx, ny});
        blockStart = false;
        landingPending = false;
      } else {
        step({blockStart ? StitchStepKind::kBlockMove : StitchStepKind::kJump, block, x, y, nx, ny});
        landingPending = true;
      }
      x = nx;
      y = ny;
      p += 4;
      continue;
    }
    p += 2;  // a marker or an unknown code: no pair follows
  }
}

platform::PaletteColour BlockColour(const design::StitchRecord& record, int block) {
  return design::GetThreadColor(record.ThreadCode(block));
}

void DrawHoopFrame(const CStitchDesign& design, platform::Canvas& canvas, int zoom) {
  if (!Drawable(design)) return;
  canvas.SetPen(design.IsInsideHoop() ? kHoopInsideGrey : kHoopOutsideRed, 0);
  canvas.Rectangle({0, 0, Scaled(design.WorkWidth() * 5 / 2, zoom), Scaled(design.WorkHeight() * 5 / 2, zoom)});
}

int DrawStitchDesign(CStitchDesign& design, platform::Canvas& canvas, int zoom, int penWidth, bool withFrame) {
  const design::StitchRecord* record = design.Record();
  if (design.Busy() || record == nullptr || design.Error() != kDesignOk) return 0;
  const int colourCount = record->ColourCount();
  if (colourCount < 1 || colourCount > design::kMaxColours) return -1;

  const int width = (zoom == kFullZoom && penWidth == 0) ? kFullZoomPenWidth : penWidth;
  const int startX = design.WorkWidth() * 5 / 4;
  const int startY = design.WorkHeight() * 5 / 4;
  platform::PaletteColour colour = BlockColour(*record, 0);
  canvas.SetPen(colour, width);
  canvas.MoveTo(Scaled(startX, zoom), Scaled(startY, zoom));
  // A line wholly outside the part being painted changes no pixel: the pen only moves.
  const platform::CanvasRect clip = canvas.ClipBox();
  const int reach = width / 2 + 2;
  auto outside = [&](const StitchStep& s) {
    const int x0 = Scaled(s.fromX, zoom), y0 = Scaled(s.fromY, zoom);
    const int x1 = Scaled(s.toX, zoom), y1 = Scaled(s.toY, zoom);
    return std::max(x0, x1) + reach < clip.left || std::min(x0, x1) - reach >= clip.right ||
           std::max(y0, y1) + reach < clip.top || std::min(y0, y1) - reach >= clip.bottom;
  };
  WalkDesignSteps(record->StitchArea(), record->PairCount(), colourCount, startX, startY,
                  [&](const StitchStep& s) {
                    if ((s.kind == StitchStepKind::kSew || s.kind == StitchStepKind::kJump) && outside(s)) {
                      canvas.MoveTo(Scaled(s.toX, zoom), Scaled(s.toY, zoom));
                      return;
                    }
                    switch (s.kind) {
                      case StitchStepKind::kBlockStart:
                        colour = BlockColour(*record, s.block);
                        canvas.SetPen(colour, width);
                        return;
                      case StitchStepKind::kSew:
                        canvas.LineTo(Scaled(s.toX, zoom), Scaled(s.toY, zoom));
                        break;
                      case StitchStepKind::kBlockMove:
                        canvas.MoveTo(Scaled(s.toX, zoom), Scaled(s.toY, zoom));
                        break;
                      case StitchStepKind::kJump:
                        canvas.SetPen(colour, 0, platform::PenStyle::kDotted);
                        canvas.LineTo(Scaled(s.toX, zoom), Scaled(s.toY, zoom));
                        canvas.SetPen(colour, width);
                        break;
                    }
                  });

  if (withFrame) DrawHoopFrame(design, canvas, zoom);
  return 0;
}

}  // namespace digitizer
