#include "design/import_preview.h"

#include <algorithm>

#include "design/stitch_stream.h"

namespace design {

namespace {

// Maps virtual-area points onto the preview rectangle.
struct PreviewMapping {
  platform::CanvasRect rect;
  int PixelX(int virtualX) const {
    return rect.left + static_cast<int>(int64_t{virtualX} * rect.Width() / kPreviewVirtualWidth);
  }
  int PixelY(int virtualY) const {
    return rect.top + static_cast<int>(int64_t{virtualY} * rect.Height() / kPreviewVirtualHeight);
  }
};

}  // namespace

void DrawDesignPreview(platform::Canvas& canvas, const platform::CanvasRect& rect,
                       const StitchRecord& record,
                       std::span<const platform::PaletteColour> blockColours) {
  canvas.FillRect(rect, platform::kPaletteWhite);
  if (blockColours.empty()) return;
  const PreviewMapping map{rect};
  std::size_t block = 0;
  canvas.SetPen(blockColours[block], 1, platform::PenStyle::kSolid);

  int x = kPreviewVirtualWidth / 2;
  int y = kPreviewVirtualHeight / 2;
  canvas.MoveTo(map.PixelX(x), map.PixelY(y));
  const std::size_t pairs = static_cast<std::size_t>(std::max(record.PairCount(), 0));
  const std::size_t bytes = std::min(2 * pairs, record.StitchRoom()) & ~std::size_t{1};
  const uint8_t* s = record.Stitches();
  bool landing = false;  // the first plain pair after a jump only moves the needle
  for (std::size_t p = 0; p + 2 <= bytes; p += 2) {
    const uint8_t* pair = s + p;
    if (!IsControl(pair)) {
      x += PairDx(pair);
      y -= PairDy(pair);
      if (landing) {
        canvas.MoveTo(map.PixelX(x), map.PixelY(y));
        landing = false;
      } else {
        canvas.LineTo(map.PixelX(x), map.PixelY(y));
      }
      continue;
    }
    const uint8_t code = pair[1];
    if (code == kEnd) break;
    if (code == kColourChange) {
      if (block + 1 < blockColours.size()) ++block;
      canvas.SetPen(blockColours[block], 1, platform::PenStyle::kSolid);
      p += 2;  // the zero pair that belongs to the change
      continue;
    }
    if (IsJumpCode(code)) {
      if (p + 4 > bytes) break;
      const uint8_t* move = pair + 2;
      p += 2;
      x += PairDx(move);
      y -= PairDy(move);
      if (IsSewnLongStitchMove(PairDx(move), PairDy(move))) {
        canvas.LineTo(map.PixelX(x), map.PixelY(y));
        landing = false;  // a sewn stitch: the needle is down again
      } else {
        canvas.MoveTo(map.PixelX(x), map.PixelY(y));
        landing = true;
      }
    }
    // A marker and any other code carry no move.
  }
}

}  // namespace design
