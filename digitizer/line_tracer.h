#pragma once

// CLineTracer: selects lines of the outline drawing (black or any non-white colour on white)
// for line-stitch parts. TraceAt follows the drawn line nearest a clicked picture point in
// both directions and paints it in a mark colour (red selects, black deselects); MarkRect
// paints every line pixel inside a rectangle (All Lines).
//
// Following uses two walkers that step along the line side by side: walker A keeps to one
// edge of the line, walker B to the other. Where the line forks they part, and the trace
// stops there; where they stay together, A paints its pixels.

#include <array>

#include "digitizer/pixel_image.h"

namespace digitizer {

class CLineTracer {
 public:
  static constexpr platform::PaletteColour kEmpty = platform::kPaletteWhite;
  static constexpr platform::PaletteColour kSelected = platform::PaletteRgb(255, 0, 0);
  static constexpr platform::PaletteColour kUnselected = platform::kPaletteBlack;
  // How far from the click a line is looked for, in pixels.
  static constexpr int kSearchRings = 10;

  // Directions 1..8: up, up-right, right, down-right, down, down-left, left, up-left (y down).
  struct Step {
    int dx;
    int dy;
    int next;  // the entry the following step starts from
  };

  // bitmap: the line bitmap, workWidth x workHeight pixels.
  CLineTracer(PixelImage& bitmap, int workWidth, int workHeight);
  virtual ~CLineTracer();

  // True when a pixel was marked.
  bool TraceAt(int x, int y, platform::PaletteColour markColour);
  // Window rectangle less the view's origin (2, 2); select: red, else black. True when a
  // pixel changed.
  bool MarkRect(int left, int top, int right, int bottom, bool select);

 private:
  struct Walker {
    int x;
    int y;
    int entry;
  };

  bool IsLine(int x, int y) const;
  // Moves the walker to its first line neighbour; false when it has none.
  bool StepA(Walker& walker, int* tookEntry) const;
  bool StepB(Walker& walker) const;
  // One walk from the start; true when it came back to the start (a closed line).
  bool Walk(int startX, int startY, int direction, platform::PaletteColour mark, int* firstEntryOfA);

  PixelImage& bitmap_;
  int width_;
  int height_;
  // The bounds of the search around a click.
  int top_ = 0;
  int left_ = 0;
  int bottom_;
  int right_;
  bool marked_ = false;
};

}  // namespace digitizer
