#include <array>
#include <cstring>

#include "stitchgen/mask_preparation.h"

namespace seamlib {

void CloseMaskGaps(PixelPlane plane) {
  // The passes keep two pixels clear of each edge: the mask's rows and columns 2 .. size-3
  // (on the grid 2..977). Each pass changes the plane in place, so a filled pixel counts
  // for its right and lower neighbours in the same pass.
  const int lastColumn = plane.width - 3;
  const int lastRow = plane.rows - 3;
  for (int y = 2; y <= lastRow; ++y) {
    for (int x = 2; x <= lastColumn; ++x) {
      if (plane.At(x, y) == 0 && plane.At(x - 1, y) + plane.At(x + 1, y) > 1) plane.At(x, y) = 1;
    }
  }
  for (int x = 2; x <= lastColumn; ++x) {
    for (int y = 2; y <= lastRow; ++y) {
      if (plane.At(x, y) == 0 && plane.At(x, y - 1) + plane.At(x, y + 1) > 1) plane.At(x, y) = 1;
    }
  }
  // A notch open only downwards, upwards or to the right still has three part pixels
  // around it.
  for (int y = 2; y <= lastRow; ++y) {
    for (int x = 2; x <= lastColumn; ++x) {
      if (plane.At(x, y) == 0 &&
          plane.At(x, y + 1) + plane.At(x, y - 1) + plane.At(x - 1, y) > 2) {
        plane.At(x, y) = 1;
      }
    }
  }
}

void MarkRegionBorders(PixelPlane plane) {
  // Each comparison reads the row as it was, so a run grows by exactly one pixel at each
  // end instead of spreading to the end of the row.
  std::array<uint8_t, kGridSide> before{};
  const int lastRow = plane.rows - 2;
  const int lastColumn = plane.width - 3;
  for (int y = 1; y <= lastRow; ++y) {
    std::memcpy(before.data(), &plane.At(0, y), static_cast<std::size_t>(plane.width));
    for (int x = 1; x <= lastColumn; ++x) {
      const int left = before[x] & kLabelBits;
      const int right = before[x + 1] & kLabelBits;
      if (left == right) continue;
      if (left == 1) {
        plane.At(x + 1, y) |= 1;
      } else {
        plane.At(x, y) |= 1;
      }
    }
  }
}

}  // namespace seamlib
