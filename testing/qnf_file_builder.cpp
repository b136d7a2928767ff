#include "testing/qnf_file_builder.h"

#include "platform/le_bytes.h"

namespace vtest {

namespace {

void Put(std::vector<uint8_t>& out, int32_t v) {
  uint8_t b[4];
  platform::WriteI32(b, v);
  out.insert(out.end(), b, b + 4);
}

void PutBlock(std::vector<uint8_t>& out, const int32_t (&block)[4]) {
  for (int32_t v : block) Put(out, v);
}

}  // namespace

std::vector<uint8_t> BuildQnfFile(const QnfFileSpec& spec) {
  const auto n = static_cast<int32_t>(spec.threadCodes.size());
  std::vector<uint8_t> out;
  Put(out, spec.stitchDataOffset.value_or(116 + 8 * n));
  Put(out, spec.flags);
  out.insert(out.end(), spec.date, spec.date + 16);
  Put(out, spec.colourCount.value_or(n));
  Put(out, spec.pairCount.value_or(static_cast<int32_t>(spec.stitches.size() / 2)));
  Put(out, spec.hoopCode);
  PutBlock(out, spec.extents);
  PutBlock(out, spec.standardMargins);
  PutBlock(out, spec.smallMargins);
  PutBlock(out, spec.largeMargins);
  PutBlock(out, spec.largeMargins);
  for (int32_t code : spec.threadCodes) Put(out, code);
  for (int32_t i = 0; i < n; ++i) {
    Put(out, i < static_cast<int32_t>(spec.threadTypes.size()) ? spec.threadTypes[i] : 13);
  }
  out.insert(out.end(), spec.stitches.begin(), spec.stitches.end());
  out.insert(out.end(), spec.trailer.begin(), spec.trailer.end());
  return out;
}

}  // namespace vtest
