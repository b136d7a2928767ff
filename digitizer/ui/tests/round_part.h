#pragma once

// A round part and a look at how round it was drawn: the dialogs that show a part's mask must
// keep its shape whatever the hoop's.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "digitizer/bit_mask.h"

namespace digitizer_ui {

// The packed mask (bit 1 = in the part) of a disc on a work area of width x height pixels.
inline std::vector<uint8_t> PackedDisc(int width, int height, int centreX, int centreY, int radius) {
  const int rowBytes = digitizer::CBitMask::PackedRowBytes(width);
  std::vector<uint8_t> mask(digitizer::CBitMask(width, height).PackedBytes());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int dx = x - centreX, dy = y - centreY;
      if (dx * dx + dy * dy > radius * radius) continue;
      mask[static_cast<std::size_t>(y * rowBytes + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
  return mask;
}

// The smallest rectangle holding every pixel not of the background colour.
inline QRect PaintedBounds(const QImage& image, QRgb background) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFFu) != (background & 0xFFFFFFu)) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

}  // namespace digitizer_ui
