#pragma once

// LayoutDesign: one design placed on the Maxiframe layout. Positions and sizes are layout
// units of 0.5 mm (five stitch units), x to the right and y downward; the two stitch records
// keep 0.1 mm pairs with dy upward.
//
// The design is placed by its start point, where the stitch stream begins, and rotated
// about it; the centre and the start point are tied by the start offset (start = centre +
// the offset turned by the angle). The stitch records are held by shared pointer: a working
// copy in the view shares both records with the listed design it came from.

#include <cstdint>
#include <memory>
#include <string>

#include "design/layout_stitch_record.h"
#include "layoutcore/design_object.h"
#include "layoutcore/monogram_block.h"

namespace hooplayout {

using editor::LayoutExtents;
using editor::MonogramBlock;
using LayoutRecordPtr = std::shared_ptr<design::LayoutStitchRecord>;

// The two marks that every design this program places carries.
constexpr int32_t kNoGroupMark = -1;

struct LayoutDesign {
  std::string name;  // path of the file the design came from
  int32_t startX = 0;
  int32_t startY = 0;
  int32_t reserved1 = 0;
  int32_t reserved2 = 0;
  int32_t angle = 0;  // degrees, clockwise on screen, -359..359
  int32_t reserved3 = 0;
  int32_t flipH = 0;
  int32_t flipV = 0;
  int32_t reserved4 = 0;
  int32_t reserved5 = 0;
  LayoutRecordPtr working;  // mirrored and scaled, never rotated
  LayoutExtents extents;    // of the working stitches about the start point
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t reserved6 = 0;
  int32_t reserved7 = 0;
  int32_t startOffsetX = 0;  // start point minus centre at angle 0
  int32_t startOffsetY = 0;
  int32_t halfWidth = 0;
  int32_t halfHeight = 0;
  int32_t sourceHalfWidth = 0;
  int32_t sourceHalfHeight = 0;
  LayoutRecordPtr source;  // as imported and recentred: mirroring and scaling start here
  int32_t sourceStartOffsetX = 0;
  int32_t sourceStartOffsetY = 0;
  double scaleX = 1.0;
  double scaleY = 1.0;
  double reserved8 = 0.0;
  double reserved9 = 0.0;
  int32_t transient = 0;  // never stored
  int32_t reserved10 = kNoGroupMark;
  int32_t reserved11 = kNoGroupMark;
  MonogramBlock monogram;
};

// A zeroed 250,408-byte record.
LayoutRecordPtr NewLayoutRecord();

// Gives the design two fresh zeroed records of its own.
void GiveNewRecords(LayoutDesign& design);

// The extents field of a working record: the needle's path about the start point (jumps
// before the first stitch move without counting), in layout units grown by 2 on each side.
LayoutExtents MeasureLayoutExtents(const design::LayoutStitchRecord& record);

// The extents and half sizes of the design's working stitches, measured again.
void MeasureWorkingSize(LayoutDesign& design);

// Sets the pair count to the pairs of the record's stream up to and including its end pair
// (all the pairs the record holds when it has none), as the arg file stores them.
void CountStreamPairs(design::LayoutStitchRecord& record);

// Rebuilds the placement of a design read from an older layout, whose placement fields mean
// something else: extents and half sizes from the working stitches, the start offsets from
// them, no flips, scale 1, the centre from the start point and the angle.
void FixUpOldLayoutDesign(LayoutDesign& design);

}  // namespace hooplayout
