#pragma once

// Measuring a design's stitches for the layout.

#include <cstdint>
#include <span>

#include "design/stitch_record.h"
#include "layoutcore/design_object.h"

namespace editor {

// The bounds of the needle's path about the design's first point, 0.1 mm, y downward.
struct StitchBounds {
  int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  void Add(int32_t x, int32_t y);
};

// Jumps count only after the first stitch; colour changes and markers count nothing.
StitchBounds MeasureStitches(const design::StitchRecord& record);
StitchBounds MeasureStitchBytes(std::span<const uint8_t> stitches);

// Stitch bounds (0.1 mm) to layout extents (0.5 mm), rounded outward and grown by two
// units on each side: ((2 min - 5) / 10 - 2, ..., (2 max + 5) / 10 + 2).
LayoutExtents ToLayoutExtents(const StitchBounds& bounds);

// The extents field of a placed design.
LayoutExtents GetStitchExtents(const design::StitchRecord& record);

// Does the design reach beyond the standard hoop (550 from its centre in any direction)?
// Decided from the stitches themselves, never from a stored hoop code.
bool NeedsLargeHoop(const design::StitchRecord& record);

}  // namespace editor
