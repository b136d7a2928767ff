#include "digitizer/sew_conversion.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "design/hoop.h"
#include "design/sew_file.h"
#include "design/stitch_stream.h"
#include "platform/le_bytes.h"

namespace digitizer {
namespace {

// Offsets in the record's head.
constexpr std::size_t kHeadStitchOffset = 0;
constexpr std::size_t kHeadFlags = 4;
constexpr std::size_t kHeadDate = 8;
constexpr std::size_t kHeadColourCount = 24;
constexpr std::size_t kHeadWordCount = 28;
constexpr std::size_t kHeadHoopCode = 32;
constexpr std::size_t kHeadExtents = 36;
constexpr std::size_t kHeadStandardMargins = 52;
constexpr std::size_t kHeadSmallMargins = 68;
constexpr std::size_t kHeadLargeMargins = 84;
constexpr std::size_t kHeadLargeMarginsCopy = 100;
constexpr std::size_t kHeadThreadCodes = 116;
constexpr std::size_t kHeadThreadTypes = 428;
constexpr int32_t kHeadFlagsValue = 10;
constexpr int32_t kSewThreadType = 13;
constexpr std::size_t kDateBytes = 16;

using design::kLargeHoopHalfHeight;
using design::kLargeHoopHalfWidth;
using design::kSmallHoopHalf;
using design::kStandardHoopHalf;
constexpr long kMaxRecordWords = 250000;

// Three jumps from the hoop centre to the SEW's start point: (0, 0), (-80, 40) and (-20, 50) to
// (-100, 90) in the standard hoop; (-70, 50) last to (-150, 90) in the large one. dy upwards.
constexpr std::array<uint8_t, 12> kStandardLeadIn{0x80, 0x02, 0x00, 0x00, 0x80, 0x02, 0xB0, 0x28, 0x80, 0x02, 0xEC, 0x32};
constexpr std::array<uint8_t, 12> kLargeLeadIn{0x80, 0x02, 0x00, 0x00, 0x80, 0x02, 0xB0, 0x28, 0x80, 0x02, 0xBA, 0x32};
constexpr std::size_t kLeadInWords = 6;
constexpr uint8_t kEndWord[2] = {0x80, 0x10};

void WriteMargins(uint8_t* at, std::array<int32_t, 4> margins) {
  // A design that does not fit the hoop gets no margins at all: the machine reads -1 as "no fit".
  if (std::any_of(margins.begin(), margins.end(), [](int32_t m) { return m < 0; })) margins.fill(-1);
  for (std::size_t i = 0; i < 4; ++i) platform::WriteI32(at + 4 * i, margins[i]);
}

}  // namespace

bool SewExceedsStandardHoop(const PreviewExtents& extents) {
  return extents.left < -kStandardHoopHalf || extents.top < -kStandardHoopHalf ||
         extents.right > kStandardHoopHalf || extents.bottom > kStandardHoopHalf;
}

SewConversion ConvertSew(std::span<uint8_t> buffer, std::size_t bytesRead, bool largeHoop,
                         const PreviewExtents& extents, const platform::Clock& clock) {
  bytesRead = std::min(bytesRead, buffer.size());
  const std::span<const uint8_t> sew(buffer.data(), bytesRead);
  const SewLayout layout = ReadSewLayout(sew);
  if (!layout.valid || bytesRead <= design::sew_offset::kStitches) return {};

  std::vector<int32_t> codes;
  long recordWords = 1;  // the end word
  for (int i = 0; i < layout.colourCount; ++i) {
    codes.push_back(platform::ReadU16(sew.data() + design::sew_offset::kThreadCodes + 2 * static_cast<std::size_t>(i)));
    const long count = platform::ReadU16(sew.data() + 2 * static_cast<std::size_t>(kSewStitchCountsWord + i));
    // Every colour after the first brings its colour change and its move.
    recordWords += count + (i == 0 ? 0 : 2);
  }
  if (recordWords > kMaxRecordWords) return {};

  // The SEW's stitch words up to and including the end word, never past what was read, walked
  // by the pair rules: a jump's move of 0x80 0x10 is a move, not the end. A jump or colour
  // change whose pair lies beyond the words is left out with it, or the end word put behind the
  // words would be read as that pair and the design would run on into whatever follows.
  const std::size_t availableWords = (bytesRead - design::sew_offset::kStitches) / 2;
  const std::size_t walkWords = std::min(availableWords, static_cast<std::size_t>(layout.totalWords));
  const uint8_t* source = buffer.data() + design::sew_offset::kStitches;
  std::size_t copiedWords = 0;
  bool endFound = false;
  for (std::size_t at = 0; at < walkWords;) {
    const uint8_t* word = source + 2 * at;
    if (design::IsControl(word, design::kEnd)) {
      copiedWords = at + 1;
      endFound = true;
      break;
    }
    at += design::StreamItemBytes(word) / 2;
    if (at > walkWords) break;
    copiedWords = at;
  }
  const std::size_t words = kLeadInWords + copiedWords + (endFound ? 0 : 1);
  const std::size_t imageBytes = kStitchRecordHeadBytes + 2 * words;
  if (imageBytes > buffer.size()) return {};

  // The stitch words move down to their place behind the head and the lead-in; everything the
  // head needs from the SEW was read above.
  uint8_t* out = buffer.data();
  std::memmove(out + kStitchRecordHeadBytes + 2 * kLeadInWords, source, 2 * copiedWords);
  if (!endFound) std::memcpy(out + kStitchRecordHeadBytes + 2 * (kLeadInWords + copiedWords), kEndWord, 2);
  const auto& leadIn = largeHoop ? kLargeLeadIn : kStandardLeadIn;
  std::memcpy(out + kStitchRecordHeadBytes, leadIn.data(), leadIn.size());

  std::memset(out, 0, kStitchRecordHeadBytes);
  platform::WriteI32(out + kHeadStitchOffset, static_cast<int32_t>(kStitchRecordHeadBytes));
  platform::WriteI32(out + kHeadFlags, kHeadFlagsValue);
  const platform::LocalTime t = clock.Now();
  char date[32] = {};
  std::snprintf(date, sizeof date, "%4d%02d%02d%02d%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                t.hour % 100, t.minute % 100, t.second % 100);
  std::memcpy(out + kHeadDate, date, kDateBytes);
  platform::WriteI32(out + kHeadColourCount, layout.colourCount);
  platform::WriteI32(out + kHeadWordCount, static_cast<int32_t>(words));
  platform::WriteI32(out + kHeadHoopCode, largeHoop ? design::kLargeHoop : design::kStandardHoop);
  platform::WriteI32(out + kHeadExtents, -extents.left);
  platform::WriteI32(out + kHeadExtents + 4, -extents.top);
  platform::WriteI32(out + kHeadExtents + 8, extents.right);
  platform::WriteI32(out + kHeadExtents + 12, extents.bottom);
  WriteMargins(out + kHeadStandardMargins,
               {kStandardHoopHalf + extents.left, kStandardHoopHalf + extents.top, kStandardHoopHalf - extents.right,
                kStandardHoopHalf - extents.bottom});
  WriteMargins(out + kHeadSmallMargins, {kSmallHoopHalf + extents.left, kSmallHoopHalf + extents.top,
                                         kSmallHoopHalf - extents.right, kSmallHoopHalf - extents.bottom});
  const std::array<int32_t, 4> large{kLargeHoopHalfWidth + extents.left, kLargeHoopHalfHeight + extents.top,
                                     kLargeHoopHalfWidth - extents.right, kLargeHoopHalfHeight - extents.bottom};
  WriteMargins(out + kHeadLargeMargins, large);
  WriteMargins(out + kHeadLargeMarginsCopy, large);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    platform::WriteI32(out + kHeadThreadCodes + 4 * i, codes[i]);
    platform::WriteI32(out + kHeadThreadTypes + 4 * i, kSewThreadType);
  }
  return {true, imageBytes};
}

}  // namespace digitizer
