#include "layoutcore/stitch_extents.h"

#include <algorithm>

#include "design/hoop.h"
#include "layoutcore/stitch_walk.h"

namespace editor {

void StitchBounds::Add(int32_t x, int32_t y) {
  minX = std::min(minX, x);
  maxX = std::max(maxX, x);
  minY = std::min(minY, y);
  maxY = std::max(maxY, y);
}

namespace {

struct Measure {
  StitchBounds bounds;
  int32_t x = 0;
  int32_t y = 0;  // downward: the stream's dy grows upward
  bool stitched = false;

  void ColourChange() {}
  void Jump(int dx, int dy, bool) {
    x += dx;
    y -= dy;
    if (stitched) bounds.Add(x, y);
  }
  void Stitch(int dx, int dy) {
    x += dx;
    y -= dy;
    stitched = true;
    bounds.Add(x, y);
  }
};

}  // namespace

StitchBounds MeasureStitchBytes(std::span<const uint8_t> stitches) {
  Measure m;
  WalkStitchBytes(stitches, m);
  return m.bounds;
}

StitchBounds MeasureStitches(const design::StitchRecord& record) {
  return MeasureStitchBytes(record.StitchArea());
}

LayoutExtents ToLayoutExtents(const StitchBounds& b) {
  return LayoutExtents{(2 * b.minX - 5) / 10 - 2, (2 * b.minY - 5) / 10 - 2,
                       (2 * b.maxX + 5) / 10 + 2, (2 * b.maxY + 5) / 10 + 2};
}

LayoutExtents GetStitchExtents(const design::StitchRecord& record) {
  return ToLayoutExtents(MeasureStitches(record));
}

bool NeedsLargeHoop(const design::StitchRecord& record) {
  const StitchBounds b = MeasureStitches(record);
  constexpr int32_t half = design::kStandardHoopHalf;
  return b.minX < -half || b.maxX > half || b.minY < -half || b.maxY > half;
}

}  // namespace editor
