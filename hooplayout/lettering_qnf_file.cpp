#include "hooplayout/lettering_qnf_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "design/qnf_file.h"
#include "platform/clock.h"
#include "platform/le_bytes.h"

namespace hooplayout {

namespace {

constexpr int32_t kLetteringFlags = 1;
constexpr int32_t kLetteringColours = 1;
constexpr int32_t kLargeHoopCode = 2;
constexpr int32_t kNoMargin = -1;
// The large hoop's centre from its top-left corner, stitch units.
constexpr int32_t kLargeHoopHalfWidth = 700;
constexpr int32_t kLargeHoopHalfHeight = 1000;
constexpr int32_t kLetteringThreadType = 13;
constexpr std::size_t kDateDigits = 14;

}  // namespace

std::optional<LetteringStream> ScanLetteringStream(std::span<const uint8_t> stitches) {
  int32_t x = 0, y = 0;
  int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool stitched = false;
  auto count = [&] {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  };
  std::size_t pos = 0;
  while (pos + 2 <= stitches.size()) {
    const uint8_t* pair = stitches.data() + pos;
    if (!design::IsControl(pair)) {
      x += design::PairDx(pair);
      y -= design::PairDy(pair);
      stitched = true;
      count();
      pos += 2;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) {
      LetteringStream result;
      result.pairCount = static_cast<int32_t>(pos / 2 + 1);
      result.extents = {-minX, -minY, maxX, maxY};
      return result;
    }
    if (code == design::kMarker) {
      pos += 2;
      continue;
    }
    // Every other control code carries one pair: a colour change its zero pair (no move),
    // a jump its move.
    if (pos + 4 > stitches.size()) return std::nullopt;
    if (design::IsJumpCode(code)) {
      x += design::PairDx(pair + 2);
      y -= design::PairDy(pair + 2);
      if (stitched) count();
    }
    pos += 4;
  }
  return std::nullopt;
}

std::vector<uint8_t> LetteringQnfImage(const design::LayoutStitchRecord& record) {
  const std::optional<LetteringStream> stream = ScanLetteringStream(record.StitchArea());
  if (!stream) return {};
  const std::size_t stitchOffset = static_cast<std::size_t>(design::QnfStitchDataOffset(kLetteringColours));
  const std::size_t stitchBytes = 2 * static_cast<std::size_t>(stream->pairCount);
  std::vector<uint8_t> image(stitchOffset + stitchBytes);
  uint8_t* p = image.data();
  using platform::WriteI32;
  namespace off = design::qnf_offset;
  WriteI32(p + off::kStitchDataOffset, static_cast<int32_t>(stitchOffset));
  WriteI32(p + off::kFlags, kLetteringFlags);
  const platform::LocalTime t = platform::GetClock().Now();
  char digits[32];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                t.hour % 100, t.minute % 100, t.second % 100);
  std::memcpy(p + off::kDateText, digits, kDateDigits);  // the two bytes after stay 0
  WriteI32(p + off::kColourCount, kLetteringColours);
  WriteI32(p + off::kPairCount, stream->pairCount);
  WriteI32(p + off::kHoopCode, kLargeHoopCode);
  const design::Extents& e = stream->extents;
  const int32_t extents[4] = {e.left, e.top, e.right, e.bottom};
  // Negative large-hoop margins are written as they are: the lettering may be wider than
  // the hoop once the user has spread its letters over the preview.
  const int32_t large[4] = {kLargeHoopHalfWidth - e.left, kLargeHoopHalfHeight - e.top,
                            kLargeHoopHalfWidth - e.right, kLargeHoopHalfHeight - e.bottom};
  for (std::size_t i = 0; i < 4; ++i) {
    WriteI32(p + off::kExtents + 4 * i, extents[i]);
    WriteI32(p + off::kStandardHoopMargins + 4 * i, kNoMargin);
    WriteI32(p + off::kSmallHoopMargins + 4 * i, kNoMargin);
    WriteI32(p + off::kLargeHoopMargins + 4 * i, large[i]);
    WriteI32(p + off::kLargeHoopMarginsCopy + 4 * i, large[i]);
  }
  WriteI32(p + off::kColourTables, record.ThreadCode(0));
  WriteI32(p + off::kColourTables + 4, kLetteringThreadType);
  std::memcpy(p + stitchOffset, record.Stitches(), stitchBytes);
  return image;
}

}  // namespace hooplayout
