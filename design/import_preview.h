#pragma once

// The small picture of a design in the import dialog. The design is drawn in a virtual
// area of 1600 x 2100 stitch units (0.1 mm) squeezed onto the preview rectangle, starting
// at the area's centre; stitch dy grows upwards, pixel rows downwards.

#include <span>

#include "design/stitch_record.h"
#include "platform/canvas.h"

namespace design {

constexpr int kPreviewVirtualWidth = 1600;
constexpr int kPreviewVirtualHeight = 2100;
// The preview of a folder or of a file that could not be opened.
constexpr platform::PaletteColour kPreviewGrey = platform::PaletteRgb(220, 220, 220);

// Fills the rectangle white and draws the record's stitches on it: one pen per colour
// block (blockColours[i] for block i; the last one stays when the stream has more colour
// changes than colours), jumps as moves, sewn long stitches as lines, the landing after a
// jump as a move. Reads no further than the record's pair count and its stitch room.
void DrawDesignPreview(platform::Canvas& canvas, const platform::CanvasRect& rect,
                       const StitchRecord& record,
                       std::span<const platform::PaletteColour> blockColours);

}  // namespace design
