#include "digitizer/all_colors_view.h"

#include <algorithm>
#include <vector>

#include "design/thread_colors.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"

namespace digitizer {

namespace {

// Paints a size x size square from (x - size / 2, y - size / 2) for every set centre: a
// sliding count along each row, then down each column, so the cost does not grow with the
// square.
void PaintDots(PixelImage& image, const std::vector<uint8_t>& hits, int hitRows, int size,
               platform::PaletteColour colour) {
  const int width = image.Width();
  const int height = image.Height();
  const int half = size / 2;
  // A pixel at x is covered by the centres x - (size - 1 - half) .. x + half.
  const int behind = size - 1 - half;
  std::vector<uint8_t> across(hits.size(), 0);
  for (int y = 0; y < hitRows; ++y) {
    const uint8_t* in = hits.data() + static_cast<std::size_t>(y) * width;
    uint8_t* out = across.data() + static_cast<std::size_t>(y) * width;
    int count = 0;
    for (int c = 0; c < std::min(half, width); ++c) count += in[c];
    for (int x = 0; x < width; ++x) {
      if (x + half < width) count += in[x + half];
      if (x - behind - 1 >= 0) count -= in[x - behind - 1];
      out[x] = count > 0;
    }
  }
  for (int x = 0; x < width; ++x) {
    int count = 0;
    for (int r = 0; r < std::min(half, hitRows); ++r) count += across[static_cast<std::size_t>(r) * width + x];
    for (int y = 0; y < height; ++y) {
      if (y + half < hitRows) count += across[static_cast<std::size_t>(y + half) * width + x];
      if (y - behind - 1 >= 0) count -= across[static_cast<std::size_t>(y - behind - 1) * width + x];
      if (count > 0) image.Set(x, y, colour);
    }
  }
}

}  // namespace

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
  const int size = StitchDotSize(fillType, parameter);
  if (size == 0) return;
  const int half = size / 2;

  // Several mask pixels land on one picture pixel, and a part's dots are all one colour, so
  // the dot centres are gathered first and every covered pixel is painted once. Centres below
  // the picture by less than half a square still reach into it.
  const int hitRows = areaHeight + half;
  std::vector<uint8_t> hits(static_cast<std::size_t>(areaWidth) * static_cast<std::size_t>(hitRows), 0);
  const int wholeBytes = maskWidth / 8;
  for (int row = 0; row < maskHeight; ++row) {
    const uint8_t* bits = mask + static_cast<std::size_t>(row) * rowBytes;
    const int y = static_cast<int>(row / sy);
    if (y >= hitRows) break;
    for (int byte = 0; byte < wholeBytes; ++byte) {
      if (bits[byte] == 0) continue;
      for (int bit = 0; bit < 8; ++bit) {
        if ((bits[byte] & (0x80 >> bit)) == 0) continue;
        const int x = offset + static_cast<int>((byte * 8 + bit) / sx);
        // A square is drawn only where it fits whole to the left and above.
        if (x >= areaWidth || (size > 1 && (x < half || y < half))) continue;
        hits[static_cast<std::size_t>(y) * areaWidth + x] = 1;
      }
    }
  }
  PaintDots(image, hits, hitRows, size, colour);
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
