#pragma once

// The card manager's picture of a design: the QNF image in its design buffer drawn into
// the preview frame, scaled to the design's hoop. Stitches in 0.1 mm with dy upwards;
// pixel rows grow downwards. Colours come from the 83-row thread table.

#include <cstdint>
#include <span>

#include "platform/canvas.h"

namespace card {

// The frame's colour when it shows no design.
constexpr platform::PaletteColour kCardPreviewGrey = platform::PaletteRgb(220, 220, 220);

// "Small Hoop" (code 1), "Large Hoop" (code 2), "Normal Hoop" (any other).
const char* CardHoopName(int32_t hoopCode);

// Paints the frame grey and the hoop's drawing box white: a small or normal hoop is a
// square as wide as the frame at its top, the large hoop (1600 x 2000) takes the whole
// frame. Then, when the image holds a sound head with 1..78 colours, draws its stitches
// from the middle of the hoop: plain pairs as solid lines, jumps as dotted lines (as moves
// while the needle has not sewn since the start or the last colour change), a colour
// change as a move in the next thread's colour, ending at the end pair, at the last
// colour, at the pair count or at the last byte read, whichever comes first.
void DrawCardPreview(platform::Canvas& canvas, const platform::CanvasRect& frame,
                     std::span<const uint8_t> image);

}  // namespace card
