#include <cmath>

#include "stitchgen/weave_fill.h"

namespace seamlib {

namespace {

// Mask pixel (281, 401) is the turning centre; it lands on grid pixel (490, 490).
constexpr int kMaskCentreX = 281;
constexpr int kMaskCentreY = 401;
constexpr int kGridCentre = 490;

}  // namespace

void RotateMask(const PixelPlane& mask, PixelPlane grid, int angleDegrees) {
  const double angle = angleDegrees * kRadiansPerDegree;
  const double cosA = std::cos(angle);
  const double sinA = std::sin(angle);
  for (int i = 1; i <= kWorkRows; ++i) {
    for (int j = 1; j <= kWorkColumns; ++j) {
      const uint8_t value = mask.At(j, i);
      if (value == 0) continue;
      const int u = j - kMaskCentreX;
      const int v = i - kMaskCentreY;
      // The work area's corners lie 488.3 pixels from the centre at most: always inside.
      const int column = kGridCentre + static_cast<int>(u * cosA - v * sinA);
      const int row = kGridCentre + static_cast<int>(u * sinA + v * cosA);
      if (grid.Contains(column, row)) grid.At(column, row) = value;
    }
  }
}

}  // namespace seamlib
