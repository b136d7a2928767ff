#include "design/sew_reader.h"

#include <algorithm>
#include <cstring>

#include "design/qnf_file.h"
#include "design/qnf_reader.h"
#include "design/sew_file.h"
#include "platform/le_bytes.h"

namespace design {

SewReadStatus ReadSew(std::span<const uint8_t> file, StitchRecord& record) {
  record.Clear();
  if (file.size() < sew_offset::kThreadCodes) return SewReadStatus::kDefective;
  const int colours = platform::ReadU16(&file[sew_offset::kColourCount]);
  if (colours < 1 || colours > kMaxSewColours) return SewReadStatus::kDefective;
  // The whole code table and the start of the stitch area must be there.
  if (file.size() < sew_offset::kStitches) return SewReadStatus::kDefective;

  // Only the stitch bytes that still fit behind the lead-in are looked at; the end pair
  // must lie among them, found by the pair rules (the pair after a colour change or a
  // jump is data, never a control pair).
  const std::size_t room = std::min(kSewStitchLimitBytes, record.StitchRoom()) - sizeof(kSewLeadIn);
  const std::size_t available = file.size() - sew_offset::kStitches;
  const std::span<const uint8_t> stitches =
      file.subspan(sew_offset::kStitches, std::min(room, available) & ~std::size_t{1});
  const long end = FindEndPair(stitches);
  if (end < 0) return SewReadStatus::kDefective;
  const std::size_t copied = static_cast<std::size_t>(end) + 2;
  const std::size_t total = sizeof(kSewLeadIn) + copied;
  const auto pairs = static_cast<int32_t>(total / 2);
  if (pairs > kMaxSewPairs) return SewReadStatus::kDefective;

  for (int i = 0; i < colours; ++i) {
    record.SetThreadCode(i, platform::ReadU16(&file[sew_offset::kThreadCodes + 2 * i]));
    record.SetThreadType(i, kThreadTypeStandard);
  }
  std::memcpy(record.Stitches(), kSewLeadIn, sizeof(kSewLeadIn));
  std::memcpy(record.Stitches() + sizeof(kSewLeadIn), stitches.data(), copied);
  record.SetColourCount(colours);
  record.SetPairCount(pairs);
  record.SetFlags(1);
  record.SetStitchDataOffset(QnfStitchDataOffset(colours));
  return SewReadStatus::kOk;
}

}  // namespace design
