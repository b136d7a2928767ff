#include "digitizer/draw_tool.h"

#include <algorithm>
#include <cstdlib>

namespace digitizer {

namespace {

// Stamps a round pen of the width centred on (cx, cy); an even width leans right and down.
void Stamp(PixelImage& image, int cx, int cy, int penWidth, platform::PaletteColour colour) {
  if (penWidth <= 1) {
    image.Set(cx, cy, colour);
    return;
  }
  const int low = (penWidth - 1) / 2;
  const int high = penWidth / 2;
  // Distances in half pixels from the pen's true centre, which lies between two pixels when
  // the width is even.
  const int shift = high - low;
  for (int dy = -low; dy <= high; ++dy) {
    for (int dx = -low; dx <= high; ++dx) {
      const int hx = 2 * dx - shift;
      const int hy = 2 * dy - shift;
      if (hx * hx + hy * hy <= penWidth * penWidth) image.Set(cx + dx, cy + dy, colour);
    }
  }
}

}  // namespace

void DrawPenLine(PixelImage& image, int x0, int y0, int x1, int y1, int penWidth, platform::PaletteColour colour) {
  const int dx = std::abs(x1 - x0);
  const int dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    Stamp(image, x0, y0, penWidth, colour);
    if (x0 == x1 && y0 == y1) return;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += stepX;
    }
    if (twice <= dx) {
      error += dx;
      y0 += stepY;
    }
  }
}

CDrawTool::CDrawTool(PixelImage& fill, PixelImage& line) : fill_(fill), line_(line) {}
CDrawTool::~CDrawTool() = default;

void CDrawTool::SetEraserSize(int size) {
  switch (size) {
    case 1: eraserWidth_ = 3; break;
    case 3: eraserWidth_ = 10; break;
    default: eraserWidth_ = 6; break;
  }
}

RepaintRect CDrawTool::Stroke(ViewPoint window, const ViewScroll& scroll, bool fromLast, int penWidth,
                              platform::PaletteColour colour) {
  // A zoom below 1 would divide by zero or mirror the picture; the view never zooms out.
  const int zoom = std::max(scroll.zoom, 1);
  const ViewPoint p{window.x - origin_.x, window.y - origin_.y};
  const ViewPoint from = fromLast ? last_ : p;
  const int x0 = (from.x + scroll.x) / zoom;
  const int y0 = (from.y + scroll.y) / zoom;
  const int x1 = (p.x + scroll.x) / zoom;
  const int y1 = (p.y + scroll.y) / zoom;
  DrawPenLine(fill_, x0, y0, x1, y1, penWidth, colour);
  DrawPenLine(line_, x0, y0, x1, y1, penWidth, colour);
  last_ = p;
  const int margin = zoom * eraserWidth_;
  return RepaintRect{std::min(from.x, p.x) - margin, std::min(from.y, p.y) - margin, std::max(from.x, p.x) + margin,
                     std::max(from.y, p.y) + margin};
}

RepaintRect CDrawTool::PencilDot(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, false, 1, platform::kPaletteBlack);
}

RepaintRect CDrawTool::WhiteDot(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, false, 1, platform::kPaletteWhite);
}

RepaintRect CDrawTool::PencilLine(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, true, 1, platform::kPaletteBlack);
}

RepaintRect CDrawTool::WhiteLine(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, true, 1, platform::kPaletteWhite);
}

RepaintRect CDrawTool::EraserDot(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, false, eraserWidth_, platform::kPaletteWhite);
}

RepaintRect CDrawTool::EraserLine(ViewPoint window, const ViewScroll& scroll) {
  return Stroke(window, scroll, true, eraserWidth_, platform::kPaletteWhite);
}

}  // namespace digitizer
