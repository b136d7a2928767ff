#include <cmath>

#include "stitchgen/weave_fill.h"

namespace seamlib {

void RotateMask(const PixelPlane& mask, PixelPlane grid, int angleDegrees) {
  const double angle = angleDegrees * kRadiansPerDegree;
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  for (int i = 1; i <= kWorkRows; ++i) {
    for (int j = 1; j <= kWorkColumns; ++j) {
      const uint8_t value = mask.At(j, i);
      if (value == 0) continue;
      const int u = j - kTurnMaskX;
      const int v = i - kTurnMaskY;
      // The work area's corners lie 488.3 pixels from the centre at most: always inside.
      const int column = kTurnGrid + static_cast<int>(u * cosA - v * sinA);
      const int row = kTurnGrid + static_cast<int>(u * sinA + v * cosA);
      if (grid.Contains(column, row)) grid.At(column, row) = value;
    }
  }
}

}  // namespace seamlib
