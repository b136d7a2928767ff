#include <array>

#include "stitchgen/mask_preparation.h"

namespace seamlib {

namespace {

constexpr std::array<bool, 256> MakeJunctionSet() {
  std::array<bool, 256> set{};
  constexpr int kCodes[] = {21,  37,  42,  44,  45,  46,  53,  69,  74,  76,  77,  78,  81,
                            82,  83,  84,  85,  86,  90,  92,  101, 106, 108, 138, 145, 146,
                            147, 149, 154, 161, 162, 163, 165, 168, 169, 170, 172, 177, 178,
                            202, 209, 210};
  for (int code : kCodes) set[code] = true;
  for (int code = 224; code <= 255; ++code) set[code] = true;
  return set;
}

constexpr std::array<bool, 256> kJunctionSet = MakeJunctionSet();

}  // namespace

bool IsJunctionCode(int code) { return code >= 0 && code < 256 && kJunctionSet[code]; }

void ThinMask(PixelPlane plane) {
  // Column by column, top to bottom, in place: a pixel already made a junction no longer
  // counts as a line neighbour of the pixels after it.
  for (int x = 0; x < plane.width; ++x) {
    for (int y = 0; y < plane.rows; ++y) {
      if (plane.At(x, y) != 1) continue;
      const int code = NeighbourCode(plane, x, y, [](uint8_t v) { return v == 1; });
      if (IsJunctionCode(code)) plane.At(x, y) = kJunction;
    }
  }
}

}  // namespace seamlib
