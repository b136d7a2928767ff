#pragma once

// The geometry of the Maxiframe, shared by the layout's drawing, checking and splitting.
//
// The layout is 460 x 400 layout units (230 x 200 mm), 2300 x 2000 stitch units. The frame
// is sewn in two positions, each the large hoop's 1400 x 2000 field, overlapping by 500:
// sewing space A covers stitch x 900..2300, sewing space B stitch x 0..1400. Stitch-unit
// positions here are measured from the layout's top-left corner, y downward.

#include <cstdint>

#include "design/layout_stitch_record.h"
#include "hooplayout/layout_design.h"

namespace hooplayout {

constexpr int32_t kLayoutWidth = 460;   // layout units
constexpr int32_t kLayoutHeight = 400;
constexpr int32_t kStitchesPerLayoutUnit = 5;
constexpr int32_t kLayoutStitchWidth = kLayoutWidth * kStitchesPerLayoutUnit;    // 2300
constexpr int32_t kLayoutStitchHeight = kLayoutHeight * kStitchesPerLayoutUnit;  // 2000
// Sewing space A starts here; sewing space B ends here (stitch units).
constexpr int32_t kSpaceALeft = 900;
constexpr int32_t kSpaceBRight = 1400;
// Centres of the two positions, layout units.
constexpr int32_t kSpaceACentreX = 320;
constexpr int32_t kSpaceBCentreX = 140;
constexpr int32_t kSpaceCentreY = 200;

// Degrees to radians as the layout has always turned designs: a hair below pi / 180.
constexpr double kLayoutDegreesToRadians = 0.017453292519444445;

struct LayoutPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const LayoutPoint&, const LayoutPoint&) = default;
};

// (x, y) turned by the angle, clockwise on screen for positive angles (y downward), each
// component rounded half away from zero.
LayoutPoint RotateOffset(int32_t x, int32_t y, int32_t angleDegrees);

// start = centre + R(angle) . start offset, and back.
LayoutPoint StartFromCentre(const LayoutDesign& design);
LayoutPoint CentreFromStart(const LayoutDesign& design);

// Stitch-unit bounds of the stitch points on the layout, y downward.
struct StitchExtents {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const StitchExtents&, const StitchExtents&) = default;
};

// The working stitches walked from the start point and turned by the angle as they are
// drawn; jumps before the first stitch move without counting. A design without a stitch
// has the start point as its extents.
StitchExtents GetRotatedDesignExtents(const LayoutDesign& design);
// Every point the needle is taken to for the design, turned the same way: its start point,
// the jumps before its first stitch, and every later point.
StitchExtents GetNeedlePathExtents(const LayoutDesign& design);

enum class SewingSpace { kA, kB };

bool InsideLayout(const StitchExtents& e);
// A design fits a position unless it reaches both left of space A and right of space B.
bool FitsOnePosition(const StitchExtents& e);
SewingSpace SpaceOf(const StitchExtents& e);
// Inside the layout and within one position.
bool IsValidPlacement(const StitchExtents& e);
// Within the position's field (sewing space A: stitch x 900..2300; B: 0..1400).
bool InsidePosition(const StitchExtents& e, SewingSpace space);

}  // namespace hooplayout
