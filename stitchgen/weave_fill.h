#pragma once

// Weave fills: parallel rows one pixel (0.25 mm) apart, sewn back and forth, with needle
// points staggered from row to row in a brick pattern of 16-pixel (4 mm) stitches. The
// horizontal weave sews the mask itself; the rotated weaves turn the mask into the grid,
// sew the grid horizontally and turn every needle point back.

#include "stitchgen/pixel_plane.h"
#include "stitchgen/stitch_output.h"

namespace seamlib {

// Sews every labelled region of the mask. Returns 1, or -1 when the output ran out.
int FillHorizontalWeave(PixelPlane mask, StitchOutput& out);

// Sews every labelled region of the grid, turned back by angleDegrees about the middle of
// the work area. Returns 1, or -1 when the output ran out.
int FillWeaveRows(PixelPlane grid, int angleDegrees, StitchOutput& out);

// Copies every part pixel of the mask into the grid, turned by angleDegrees about mask
// pixel (281, 401), which lands on grid pixel (490, 490).
void RotateMask(const PixelPlane& mask, PixelPlane grid, int angleDegrees);

// Radians per degree, as the machine's software has always rounded it.
constexpr double kRadiansPerDegree = 0.01745327777777778;

// The rotated weaves turn about mask pixel (281, 401), which lands on grid pixel
// (490, 490) and which MovePixelTo puts at 70.3 mm, 100.3 mm: the part stays where it was
// drawn.
constexpr int kTurnMaskX = 281;
constexpr int kTurnMaskY = 401;
constexpr int kTurnGrid = 490;
constexpr double kTurnStitchXmm = 70.3;
constexpr double kTurnStitchYmm = 100.3;
constexpr double kPixelMm = 0.25;
constexpr double kStitchUnitsPerMm = 10;

}  // namespace seamlib
