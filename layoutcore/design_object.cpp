#include "layoutcore/design_object.h"

namespace editor {

RecordPtr NewDesignRecord() { return std::make_shared<design::StitchRecord>(); }

int32_t RoundedHalf(int32_t span) {
  return static_cast<int32_t>((static_cast<int64_t>(span) * 10 / 2 + 5) / 10);
}

void TakeHalfSizes(DesignObject& design) {
  design.halfWidth = RoundedHalf(design.extents.right - design.extents.left);
  design.halfHeight = RoundedHalf(design.extents.bottom - design.extents.top);
}

namespace {

void CopyRecordContents(const RecordPtr& from, RecordPtr& to) {
  if (!from) return;
  if (!to || to == from) {
    to = std::make_shared<design::StitchRecord>(*from);
    return;
  }
  *to = *from;
}

}  // namespace

void CopyDesignObject(const DesignObject& from, DesignObject& to) {
  RecordPtr working = std::move(to.working);
  RecordPtr source = std::move(to.source);
  CopyRecordContents(from.working, working);
  CopyRecordContents(from.source, source);
  to = from;
  to.working = std::move(working);
  to.source = std::move(source);
}

void GiveNewRecords(DesignObject& design) {
  design.working = NewDesignRecord();
  design.source = NewDesignRecord();
}

}  // namespace editor
