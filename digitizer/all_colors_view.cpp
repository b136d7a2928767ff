#include "digitizer/all_colors_view.h"

#include <algorithm>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"

namespace digitizer {

int StitchDotSize(int fillType, int parameter) {
  switch (fillType) {
    case kHorizontalWeave: case kDiagonalWeave: case kVerticalWeave: case kCrossStitch: case kSatinStitch:
    case kStraightStitch:
      return 1;
    case kZigzagStitch:
      // The width parameter is in 0.1 mm: the wider the zigzag, the bigger its dot.
      if (parameter < 18) return 2;
      if (parameter <= 24) return 4;
      if (parameter <= 34) return 6;
      if (parameter <= 44) return 8;
      return 12;
    case kZigzag2mm: return 4;
    case kZigzag3mm: return 6;
    case kZigzag5mm: return 12;
    default: return 0;
  }
}

void PlotStitchDot(PixelImage& image, int x, int y, platform::PaletteColour colour, int parameter, int fillType) {
  const int size = StitchDotSize(fillType, parameter);
  if (size == 0) return;
  if (size == 1) {
    image.Set(x, y, colour);
    return;
  }
  const int half = size / 2;
  if (x < half || y < half) return;
  image.FillRect(x - half, y - half, x - half + size, y - half + size, colour);
}

void PlotPart(PixelImage& image, const uint8_t* mask, std::size_t maskBytes, int maskWidth, int maskHeight,
              uint16_t stitchCode, platform::PaletteColour colour) {
  const int areaWidth = image.Width();
  const int areaHeight = image.Height();
  if (mask == nullptr || maskWidth <= 0 || maskHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(CBitMask::PackedRowBytes(maskWidth));
  if (maskBytes < rowBytes * static_cast<std::size_t>(maskHeight)) return;

  // Shrink only: a mask smaller than the area is drawn a pixel for a pixel.
  const double sx = std::max(static_cast<double>(maskWidth) / areaWidth, 1.0);
  const double sy = maskWidth == maskHeight ? sx : std::max(static_cast<double>(maskHeight) / areaHeight, 1.0);
  // Centred across: for the square hoops this is (area width - mask height) / 2 whenever the
  // mask is narrower than the area; a tall mask is centred by its own drawn width.
  const int drawnWidth = static_cast<int>(maskWidth / sx);
  const int offset = std::max((areaWidth - drawnWidth) / 2, 0);

  const int fillType = FillTypeOf(stitchCode);
  const int parameter = FillParameterOf(stitchCode);
  const int wholeBytes = maskWidth / 8;
  for (int row = 0; row < maskHeight; ++row) {
    const uint8_t* bits = mask + static_cast<std::size_t>(row) * rowBytes;
    const int y = static_cast<int>(row / sy);
    for (int byte = 0; byte < wholeBytes; ++byte) {
      if (bits[byte] == 0) continue;
      for (int bit = 0; bit < 8; ++bit) {
        if ((bits[byte] & (0x80 >> bit)) == 0) continue;
        const int column = byte * 8 + bit;
        PlotStitchDot(image, offset + static_cast<int>(column / sx), y, colour, parameter, fillType);
      }
    }
  }
}

PixelImage DrawAllColors(const CPartList& parts, int maskWidth, int maskHeight, int areaWidth, int areaHeight) {
  PixelImage image(std::max(areaWidth, 0), std::max(areaHeight, 0), kAllColorsBackground);
  for (int i = 0; i < parts.GetCount(); ++i) {
    const PartRecord& part = *parts.GetPart(i);
    PlotPart(image, part.mask.data(), part.mask.size(), maskWidth, maskHeight, part.workingStitch,
             design::GetThreadColor(part.workingColour));
  }
  return image;
}

}  // namespace digitizer
