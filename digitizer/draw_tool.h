#pragma once

// CDrawTool: the picture view's pencil and eraser. Every stroke draws the same thing into the
// view's two working bitmaps (the fill bitmap and the line bitmap), in picture pixels: a
// window point p, less the view's origin, is the picture pixel ((p.x + scroll x) / zoom,
// (p.y + scroll y) / zoom). Each stroke returns the window rectangle to repaint.

#include "digitizer/pixel_image.h"

namespace digitizer {

// Window coordinates less the view's origin.
struct ViewPoint {
  int x = 0;
  int y = 0;
};

struct RepaintRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const RepaintRect&, const RepaintRect&) = default;
};

// Where the view is scrolled to and how far it is zoomed (whole multiples).
struct ViewScroll {
  int x = 0;
  int y = 0;
  int zoom = 1;
};

// Draws a line of the pen width from (x0, y0) to (x1, y1), both ends included; a pen wider
// than one pixel is round, so a line of zero length is a dot of the pen's width.
void DrawPenLine(PixelImage& image, int x0, int y0, int x1, int y1, int penWidth, platform::PaletteColour colour);

class CDrawTool {
 public:
  static constexpr ViewPoint kOrigin{2, 2};
  static constexpr int kInitialEraserWidth = 3;

  CDrawTool(PixelImage& fill, PixelImage& line);
  virtual ~CDrawTool();

  RepaintRect PencilDot(ViewPoint window, const ViewScroll& scroll);
  RepaintRect WhiteDot(ViewPoint window, const ViewScroll& scroll);
  RepaintRect PencilLine(ViewPoint window, const ViewScroll& scroll);
  RepaintRect WhiteLine(ViewPoint window, const ViewScroll& scroll);
  RepaintRect EraserDot(ViewPoint window, const ViewScroll& scroll);
  RepaintRect EraserLine(ViewPoint window, const ViewScroll& scroll);
  // 1: 3 pixels, 2: 6, 3: 10; any other size: 6.
  void SetEraserSize(int size);
  int EraserWidth() const { return eraserWidth_; }

 private:
  RepaintRect Stroke(ViewPoint window, const ViewScroll& scroll, bool fromLast, int penWidth,
                     platform::PaletteColour colour);

  PixelImage& fill_;
  PixelImage& line_;
  int eraserWidth_ = kInitialEraserWidth;
  ViewPoint last_;
  ViewPoint origin_ = kOrigin;
};

}  // namespace digitizer
