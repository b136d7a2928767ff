#include "editor/working_record_transform.h"

#include <algorithm>

#include "design/hoop.h"
#include "design/stitch_transformer.h"
#include "layoutcore/stitch_extents.h"

namespace editor {

namespace {

// The record's extents (0.1 mm from its first point, y upward in the file's sense) and hoop
// code taken from its stitches. The source is already centred and the transformer keeps
// the first point, so no recentring follows: recentring would take the transformer's
// landing pair for the lead-in and lose the design's first point.
void TakeRecordExtents(design::StitchRecord& record) {
  const StitchBounds b = MeasureStitches(record);
  const design::Extents e{-b.minX, -b.minY, b.maxX, b.maxY};
  record.SetExtents(e);
  const int32_t reach = std::max({e.left, e.top, e.right, e.bottom});
  record.SetHoop(reach > design::kStandardHoopHalf ? design::kLargeHoop : design::kStandardHoop);
}

}  // namespace

WorkingRecordTransform MachineWorkingRecordTransform() {
  return [](const design::StitchRecord& source, design::StitchRecord& target, double scaleX,
            double scaleY, int mirrorH, int mirrorV, bool largeHoop) {
    design::CStitchTransformer transformer;
    int copiedBytes = 0;
    if (!transformer.Transform(source, target, scaleX, scaleY, copiedBytes, mirrorH != 0,
                               mirrorV != 0, 0, largeHoop)) {
      return false;  // the target is unchanged
    }
    TakeRecordExtents(target);
    return true;
  };
}

}  // namespace editor
