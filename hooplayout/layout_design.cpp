#include "hooplayout/layout_design.h"

#include "hooplayout/hoop_positions.h"
#include "layoutcore/stitch_extents.h"

namespace hooplayout {

LayoutRecordPtr NewLayoutRecord() { return std::make_shared<design::LayoutStitchRecord>(); }

void GiveNewRecords(LayoutDesign& design) {
  design.working = NewLayoutRecord();
  design.source = NewLayoutRecord();
}

LayoutExtents MeasureLayoutExtents(const design::LayoutStitchRecord& record) {
  return editor::ToLayoutExtents(editor::MeasureStitchBytes(record.StitchArea()));
}

void MeasureWorkingSize(LayoutDesign& d) {
  if (d.working) d.extents = MeasureLayoutExtents(*d.working);
  d.halfWidth = editor::RoundedHalf(d.extents.right - d.extents.left);
  d.halfHeight = editor::RoundedHalf(d.extents.bottom - d.extents.top);
}

void FixUpOldLayoutDesign(LayoutDesign& d) {
  MeasureWorkingSize(d);
  d.startOffsetX = d.halfWidth - d.extents.right;
  d.startOffsetY = d.halfHeight - d.extents.bottom;
  d.sourceStartOffsetX = d.startOffsetX;
  d.sourceStartOffsetY = d.startOffsetY;
  d.flipH = 0;
  d.flipV = 0;
  const LayoutPoint centre = CentreFromStart(d);
  d.centreX = centre.x;
  d.centreY = centre.y;
  d.sourceHalfWidth = d.halfWidth;
  d.sourceHalfHeight = d.halfHeight;
  d.scaleX = 1.0;
  d.scaleY = 1.0;
  d.reserved10 = kNoGroupMark;
  d.reserved11 = kNoGroupMark;
}

}  // namespace hooplayout
