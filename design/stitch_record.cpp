#include "design/stitch_record.h"

#include <algorithm>
#include <cassert>

#include "platform/le_bytes.h"

namespace design {

StitchRecord::StitchRecord(std::size_t stitchRoom)
    : stitchRoom_(stitchRoom), bytes_(kHeadSize + stitchRoom, 0) {}

void StitchRecord::Clear() { std::fill(bytes_.begin(), bytes_.end(), 0); }

std::size_t StitchRecord::Slot(int i) {
  assert(i >= 0 && i < kMaxColours);
  return static_cast<std::size_t>(std::clamp(i, 0, kMaxColours - 1));
}

int32_t StitchRecord::I32(std::size_t offset) const { return platform::ReadI32(&bytes_[offset]); }

void StitchRecord::SetI32(std::size_t offset, int32_t v) { platform::WriteI32(&bytes_[offset], v); }

Extents StitchRecord::GetExtents() const {
  const std::size_t o = record_offset::kExtents;
  return Extents{I32(o), I32(o + 4), I32(o + 8), I32(o + 12)};
}

void StitchRecord::SetExtents(const Extents& e) {
  const std::size_t o = record_offset::kExtents;
  SetI32(o, e.left);
  SetI32(o + 4, e.top);
  SetI32(o + 8, e.right);
  SetI32(o + 12, e.bottom);
}

MarginBlock StitchRecord::Margins(std::size_t o) const {
  return MarginBlock{I32(o), I32(o + 4), I32(o + 8), I32(o + 12)};
}

void StitchRecord::SetMargins(std::size_t o, const MarginBlock& m) {
  SetI32(o, m.left);
  SetI32(o + 4, m.top);
  SetI32(o + 8, m.right);
  SetI32(o + 12, m.bottom);
}

}  // namespace design
