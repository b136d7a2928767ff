#pragma once

// The two byte planes the generators work on: the part's pixel mask (562 x 802, a border of
// one pixel around 560 x 800 work pixels of 0.25 mm) and the 980 x 980 grid the rotated
// weaves turn the mask into. Row-major, y runs downwards.

#include <cstddef>
#include <cstdint>

namespace seamlib {

constexpr int kMaskStride = 562;
constexpr int kMaskRows = 802;
constexpr int kWorkColumns = 560;
constexpr int kWorkRows = 800;
constexpr std::size_t kMaskBytes = std::size_t{kMaskStride} * kMaskRows;

constexpr int kGridSide = 980;
constexpr std::size_t kGridBytes = std::size_t{kGridSide} * kGridSide;

// Low seven bits of a weave pixel are its region label; bit 7 marks it as sewn over.
constexpr uint8_t kCoveredBit = 0x80;
constexpr uint8_t kLabelBits = 0x7F;

// A non-owning view of one plane.
struct PixelPlane {
  uint8_t* bytes = nullptr;
  int width = 0;   // also the row stride
  int rows = 0;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < rows; }
  uint8_t& At(int x, int y) { return bytes[static_cast<std::size_t>(y) * width + x]; }
  uint8_t At(int x, int y) const { return bytes[static_cast<std::size_t>(y) * width + x]; }
  // Outside the plane reads as empty.
  uint8_t Get(int x, int y) const { return Contains(x, y) ? At(x, y) : 0; }
  bool IsGrid() const { return width == kGridSide; }
};

inline PixelPlane MaskPlane(uint8_t* mask) { return PixelPlane{mask, kMaskStride, kMaskRows}; }
inline PixelPlane GridPlane(uint8_t* grid) { return PixelPlane{grid, kGridSide, kGridSide}; }

// Contour directions 0..7: east, north-east, north, north-west, west, south-west, south,
// south-east (y runs down).
constexpr int kDirectionDx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int kDirectionDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};

}  // namespace seamlib
