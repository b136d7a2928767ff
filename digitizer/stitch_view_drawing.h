#pragma once

// Drawing Pictorel's design through a Canvas: the stitches in their thread colours inside the
// hoop frame, as the stitch view shows them.
//
// Canvas units are 0.1 mm scaled by zoom / 4 (4 = 100 %), y growing downwards. A stitch pair
// carries dy upwards, so a pair (dx, dy) moves the drawing point by (dx, -dy). The stitches
// start at the centre of the work area, (1.25 w, 1.25 h) in 0.1 mm for a work area of w x h
// pixels of 0.25 mm; the hoop frame runs from (0, 0) to (2.5 w, 2.5 h).

#include <cstdint>
#include <functional>
#include <span>

#include "digitizer/stitch_design.h"
#include "platform/canvas.h"

namespace digitizer {

constexpr int kFullZoom = 4;  // quarters: 4 = 100 %
constexpr platform::PaletteColour kHoopInsideGrey = platform::PaletteRgb(0x80, 0x80, 0x80);
constexpr platform::PaletteColour kHoopOutsideRed = platform::PaletteRgb(0xFF, 0x00, 0x00);
// The pen width a 100 % view draws with when the user chose the thinnest pen.
constexpr int kFullZoomPenWidth = 4;

// What one step of the stitch walk does, in 0.1 mm with y downwards.
enum class StitchStepKind {
  kSew,         // a stitch the machine sews (plain pairs and long stitches)
  kJump,        // a jump or the landing after a jump run, inside a colour block
  kBlockMove,   // a move at the start of a colour block: nothing drawn
  kBlockStart,  // a new colour block begins (from == to)
};

struct StitchStep {
  StitchStepKind kind;
  int block;  // colour block, 0-based
  int fromX, fromY, toX, toY;
};

// Walks at most maxPairs pairs of the stitch bytes from (startX, startY), calling step for each
// move. Colour changes past colourCount blocks end the walk, as does the end pair or the end of
// the bytes (a control pair cut short is not read).
void WalkDesignSteps(std::span<const uint8_t> stitches, int32_t maxPairs, int colourCount,
                     int startX, int startY, const std::function<void(const StitchStep&)>& step);

// The palette-relative thread colour of a colour block, from the table the digitizer uses.
platform::PaletteColour BlockColour(const design::StitchRecord& record, int block);

// Draws the design at zoom (quarters) with the chosen pen width and, unless told not to, the
// hoop frame over it. Result 0 when drawn or when there was nothing to draw (busy, no record,
// an error), -1 when the colour count is outside 1..78.
int DrawStitchDesign(CStitchDesign& design, platform::Canvas& canvas, int zoom, int penWidth,
                     bool withFrame = true);

// The hoop frame, the whole rectangle from (0, 0) to (2.5 w, 2.5 h) at the zoom, with the
// thinnest pen: red when the design's own extents leave the hoop, else grey. Drawn only where
// the stitches are drawn (a record without error, not busy, 1..78 colours).
void DrawHoopFrame(const CStitchDesign& design, platform::Canvas& canvas, int zoom);

}  // namespace digitizer
