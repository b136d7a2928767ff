#pragma once

// What the generators do to a part's pixels before they stitch it: close one-pixel gaps,
// widen runs by a pixel at each end, label the 8-connected regions, mark line junctions.
// Each works on the mask (562 x 802) or on the rotated-weave grid (980 x 980).

#include <cstdint>

#include "stitchgen/pixel_plane.h"

namespace seamlib {

// Labels 2..127 fit the seven label bits of a weave pixel.
constexpr int kFirstRegionLabel = 2;
constexpr int kLastRegionLabel = 127;
// The value ThinMask gives a line junction.
constexpr uint8_t kJunction = 10;

// Fills single empty pixels between part pixels, in three passes (across, down, and
// a notch open on one side); the grid version covers rows and columns 2..977.
void CloseMaskGaps(PixelPlane plane);

// Grows every run of part pixels by one pixel at each end, row by row.
void MarkRegionBorders(PixelPlane plane);

// Gives every 8-connected region its own label 2, 3, ...; an isolated pixel vanishes.
// Returns 1, or -1 when a region would need a label beyond 127.
int LabelRegions(PixelPlane plane);

// Turns every part pixel whose neighbourhood is a line junction into kJunction.
void ThinMask(PixelPlane plane);

// The neighbour code of (x, y) counting neighbours for which counts(value) holds: bit 7
// left, 6 up-left, 5 up, 4 up-right, 3 right, 2 down-left, 1 down, 0 down-right.
template <class Counts>
int NeighbourCode(const PixelPlane& plane, int x, int y, Counts&& counts) {
  static constexpr int kDx[8] = {-1, -1, 0, 1, 1, -1, 0, 1};
  static constexpr int kDy[8] = {0, -1, -1, -1, 0, 1, 1, 1};
  int code = 0;
  for (int bit = 0; bit < 8; ++bit) {
    code <<= 1;
    if (counts(plane.Get(x + kDx[bit], y + kDy[bit]))) code |= 1;
  }
  return code;
}

// Whether a neighbour code is one of the junction patterns.
bool IsJunctionCode(int code);

}  // namespace seamlib
