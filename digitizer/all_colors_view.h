#pragma once

// "All Colors View": every part of the design at once, its region in its thread colour, line
// parts as squares whose size suggests the zigzag's width. Painted once into a picture of the
// drawing area's size, which the window then stretches into its frame.

#include <cstddef>
#include <cstdint>

#include "digitizer/part_list.h"
#include "digitizer/pixel_image.h"

namespace digitizer {

inline constexpr platform::PaletteColour kAllColorsBackground = platform::PaletteRgb(220, 220, 220);

// The side of the square one mask pixel of a part becomes: 1 for fills and straight lines,
// 2..12 for the zigzags, 0 for a type that draws nothing.
int StitchDotSize(int fillType, int parameter);

// One dot centred on (x, y); a square is drawn only where it fits whole to the left and above.
void PlotStitchDot(PixelImage& image, int x, int y, platform::PaletteColour colour, int parameter, int fillType);

// One part's packed mask (maskWidth x maskHeight work pixels, maskBytes long) scaled down into
// the picture. A mask shorter than its size claims draws nothing.
void PlotPart(PixelImage& image, const uint8_t* mask, std::size_t maskBytes, int maskWidth, int maskHeight,
              uint16_t stitchCode, platform::PaletteColour colour);

// The whole view: grey, then every part in list order, later parts over earlier ones. The
// parts editor opens it, so each part shows its working colour and fill type, the ones the
// user sees there.
PixelImage DrawAllColors(const CPartList& parts, int maskWidth, int maskHeight, int areaWidth, int areaHeight);

}  // namespace digitizer
