#pragma once

// DesignObject: one design placed in Brodera's layout. Positions and sizes are in layout
// units of 0.5 mm, x to the right and y downward; the two stitch records keep 0.1 mm with
// dy upward (one layout unit is five stitch units).
//
// The stitch records are held by shared pointer: a working copy in the view shares both
// records with the listed design it was fetched from, as the editing commands expect, and
// a record lives as long as anything still refers to it.

#include <cstdint>
#include <memory>
#include <string>

#include "design/stitch_record.h"
#include "layoutcore/monogram_block.h"

namespace editor {

// Extents of a working record about its reference point, layout units.
struct LayoutExtents {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  friend bool operator==(const LayoutExtents&, const LayoutExtents&) = default;
};

// Group marks of every design this program makes; only such designs can be combined.
constexpr int32_t kNoGroup = -1;

using RecordPtr = std::shared_ptr<design::StitchRecord>;

// A zeroed 131,812-byte record, the size every Brodera design record has.
RecordPtr NewDesignRecord();

struct DesignObject {
  std::string name;  // path of the imported file or the lettering's name
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t rotation = 0;  // degrees clockwise on screen; applied only when drawing
  int32_t mirroredH = 0;
  int32_t mirroredV = 0;
  RecordPtr working;  // the source after mirroring and scaling, never rotated
  LayoutExtents extents;
  int32_t halfWidth = 0;
  int32_t halfHeight = 0;
  int32_t placedHalfWidth = 0;  // the reference for resizing
  int32_t placedHalfHeight = 0;
  RecordPtr source;  // the design as placed (recentred)
  double scaleX = 1.0;
  double scaleY = 1.0;
  int32_t combineMark = 0;  // not saved
  int32_t groupMark1 = kNoGroup;
  int32_t groupMark2 = kNoGroup;
  MonogramBlock monogram;
};

// Half of a span, rounded: (span x 10 / 2 + 5) / 10 in integers.
int32_t RoundedHalf(int32_t span);

// Takes the half sizes from the extents (the placed half sizes stay as they are).
void TakeHalfSizes(DesignObject& design);

// Copies every field of from into to and the contents of both stitch records into to's
// own records, which are made when to has none. A record missing in from leaves to's
// record as it is.
void CopyDesignObject(const DesignObject& from, DesignObject& to);

// Gives the design two fresh zeroed records of its own.
void GiveNewRecords(DesignObject& design);

}  // namespace editor
