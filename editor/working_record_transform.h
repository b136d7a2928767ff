#pragma once

// Remaking a design's working record from its source record: mirrored, scaled (never
// rotated: rotation is applied only when drawing and printing; the design is written and
// sent unrotated, and its printed template shows how to turn the hoop), checked against
// the hoop's area, with its extents and hoop code taken from the result. False when the
// result would leave the area or its record; the target is then unchanged.

#include <functional>

#include "design/stitch_record.h"

namespace editor {

using WorkingRecordTransform =
    std::function<bool(const design::StitchRecord& source, design::StitchRecord& target,
                       double scaleX, double scaleY, int mirrorH, int mirrorV, bool largeHoop)>;

}  // namespace editor

namespace editor {

// The machine's transformer (mirror, scale, angle 0).
WorkingRecordTransform MachineWorkingRecordTransform();

}  // namespace editor
