#include "design/card/card_preview.h"

#include <algorithm>

#include "design/card/card_design_image.h"
#include "design/stitch_stream.h"
#include "design/thread_colors.h"

namespace card {

namespace {

struct PreviewHoop {
  int areaWidth;   // stitch units
  int areaHeight;
  bool fillsFrame;  // else a square as wide as the frame
  const char* name;
};

PreviewHoop HoopFor(int32_t hoopCode) {
  if (hoopCode == 1) return {500, 500, false, "Small Hoop"};
  // The large hoop is drawn a little wider than it is, so its designs sit in the frame.
  if (hoopCode == 2) return {1600, 2000, true, "Large Hoop"};
  return {1100, 1100, false, "Normal Hoop"};
}

// Maps hoop-area points (stitch units, y downwards) into the drawing box.
struct BoxMapping {
  platform::CanvasRect box;
  int areaWidth;
  int areaHeight;
  int PixelX(int x) const {
    return box.left + static_cast<int>(int64_t{x} * box.Width() / areaWidth);
  }
  int PixelY(int y) const {
    return box.top + static_cast<int>(int64_t{y} * box.Height() / areaHeight);
  }
};

}  // namespace

const char* CardHoopName(int32_t hoopCode) { return HoopFor(hoopCode).name; }

void DrawCardPreview(platform::Canvas& canvas, const platform::CanvasRect& frame,
                     std::span<const uint8_t> image) {
  canvas.FillRect(frame, kCardPreviewGrey);
  const auto head = ReadCardDesignHead(image);
  const PreviewHoop hoop = HoopFor(head ? head->hoopCode : 0);
  platform::CanvasRect box = frame;
  if (!hoop.fillsFrame) box.bottom = box.top + frame.Width();
  canvas.FillRect(box, platform::kPaletteWhite);
  if (!head || frame.Width() <= 0 || frame.Height() <= 0) return;

  const BoxMapping map{box, hoop.areaWidth, hoop.areaHeight};
  int block = 0;
  canvas.SetPen(design::GetThreadColor(CardDesignThreadCode(image, block)));
  int x = hoop.areaWidth / 2;
  int y = hoop.areaHeight / 2;
  canvas.MoveTo(map.PixelX(x), map.PixelY(y));

  // Never past the pair count, nor past what the buffer holds.
  const std::size_t offset = static_cast<std::size_t>(head->stitchDataOffset);
  const std::size_t bytes = std::min<std::size_t>(2 * static_cast<std::size_t>(head->pairCount),
                                                  (image.size() - offset) & ~std::size_t{1});
  const uint8_t* stitches = image.data() + offset;
  bool needleUp = true;  // nothing sewn since the start or the last colour change
  for (std::size_t p = 0; p + 2 <= bytes; p += 2) {
    const uint8_t* pair = stitches + p;
    if (!design::IsControl(pair)) {
      x += design::PairDx(pair);
      y -= design::PairDy(pair);
      canvas.LineTo(map.PixelX(x), map.PixelY(y));
      needleUp = false;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) return;
    const bool colourChange = code == design::kColourChange;
    if (!colourChange && !design::IsJumpCode(code)) continue;  // a marker carries no move
    if (p + 4 > bytes) return;
    p += 2;
    const uint8_t* move = stitches + p;
    x += design::PairDx(move);
    y -= design::PairDy(move);
    if (colourChange) {
      if (++block >= head->colourCount) return;  // no thread left to draw with
      canvas.SetPen(design::GetThreadColor(CardDesignThreadCode(image, block)));
      canvas.MoveTo(map.PixelX(x), map.PixelY(y));
      needleUp = true;
    } else if (needleUp) {
      canvas.MoveTo(map.PixelX(x), map.PixelY(y));
    } else {
      canvas.SetPen(design::GetThreadColor(CardDesignThreadCode(image, block)), 1,
                    platform::PenStyle::kDotted);
      canvas.LineTo(map.PixelX(x), map.PixelY(y));
      canvas.SetPen(design::GetThreadColor(CardDesignThreadCode(image, block)));
    }
  }
}

}  // namespace card
