#include "design/layout_stitch_record.h"

#include <algorithm>
#include <cassert>

#include "platform/le_bytes.h"

namespace design {

LayoutStitchRecord::LayoutStitchRecord() : bytes_(kSize, 0) {}

void LayoutStitchRecord::Clear() { std::fill(bytes_.begin(), bytes_.end(), 0); }

std::size_t LayoutStitchRecord::Slot(int i) {
  assert(i >= 0 && i < kColourSlots);
  return static_cast<std::size_t>(std::clamp(i, 0, kColourSlots - 1));
}

int32_t LayoutStitchRecord::PairCount() const {
  return platform::ReadI32(&bytes_[layout_record_offset::kPairCount]);
}
void LayoutStitchRecord::SetPairCount(int32_t v) {
  platform::WriteI32(&bytes_[layout_record_offset::kPairCount], v);
}
int16_t LayoutStitchRecord::ColourCount() const {
  return platform::ReadI16(&bytes_[layout_record_offset::kColourCount]);
}
void LayoutStitchRecord::SetColourCount(int16_t v) {
  platform::WriteI16(&bytes_[layout_record_offset::kColourCount], v);
}
int16_t LayoutStitchRecord::ThreadCode(int i) const {
  return platform::ReadI16(&bytes_[layout_record_offset::kThreadCodes + 2 * Slot(i)]);
}
void LayoutStitchRecord::SetThreadCode(int i, int16_t v) {
  platform::WriteI16(&bytes_[layout_record_offset::kThreadCodes + 2 * Slot(i)], v);
}
int16_t LayoutStitchRecord::ThreadType(int i) const {
  return platform::ReadI16(&bytes_[layout_record_offset::kThreadTypes + 2 * Slot(i)]);
}
void LayoutStitchRecord::SetThreadType(int i, int16_t v) {
  platform::WriteI16(&bytes_[layout_record_offset::kThreadTypes + 2 * Slot(i)], v);
}

}  // namespace design
