#include "hooplayout/layout_design.h"

#include <utility>

#include "design/stitch_stream.h"
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

void CountStreamPairs(design::LayoutStitchRecord& record) {
  const std::span<const uint8_t> stream = std::as_const(record).StitchArea();
  std::size_t pairs = 0;
  while ((pairs + 1) * 2 <= stream.size()) {
    ++pairs;
    if (design::IsControl(&stream[(pairs - 1) * 2], design::kEnd)) break;
  }
  record.SetPairCount(static_cast<int32_t>(pairs));
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
