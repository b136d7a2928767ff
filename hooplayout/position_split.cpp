#include "hooplayout/position_split.h"

#include <cstdio>
#include <cstring>

#include "design/layout_stitch_record.h"
#include "design/qnf_file.h"
#include "design/stitch_stream.h"
#include "platform/le_bytes.h"

namespace hooplayout {

namespace {

constexpr int kHalfTurn = 180;
constexpr int32_t kQnfFlags = 1;
constexpr int32_t kLargeHoopCode = 2;
// Half the large hoop's field, 0.1 mm: the margins are measured from its centre.
constexpr int32_t kLargeHoopHalfWidth = 700;
constexpr int32_t kLargeHoopHalfHeight = 1000;
constexpr std::size_t kProjectLetterOffset = 22;
constexpr std::size_t kGroupNumberOffset = 23;
constexpr std::size_t kDateDigits = 14;

// The joins between two designs of a position: group 2's marker pair becomes the
// ordinary colour change when its stream is turned around.
constexpr uint8_t kJoinA[4] = {design::kStitchEscape, design::kColourChange, 0, 0};
constexpr uint8_t kJoinB[4] = {design::kStitchEscape, design::kMarker, design::kStitchEscape,
                               design::kColourChange};
constexpr uint8_t kEndPair[2] = {design::kStitchEscape, design::kEnd};

// A colour count that a record could really hold; anything else counts as over the limit.
int ColourPartsOf(const design::LayoutStitchRecord& record) {
  const int n = record.ColourCount();
  if (n < 0 || n > design::LayoutStitchRecord::kColourSlots) return kMaxPositionColourParts + 1;
  return n;
}

// Bytes of a turned design before its end pair.
std::span<const uint8_t> WithoutEndPair(std::span<const uint8_t> turned) {
  return turned.first(turned.size() >= 2 ? turned.size() - 2 : 0);
}

}  // namespace

std::array<PositionGroup, 2> SplitIntoPositions(const DesignList& designs) {
  std::array<PositionGroup, 2> groups;
  for (const LayoutDesign& d : designs) {
    const int index = SpaceOf(GetRotatedDesignExtents(d)) == SewingSpace::kA ? 0 : 1;
    groups[index].insert(groups[index].begin(), &d);
  }
  return groups;
}

const char* CombineMessage(CombineResult result) {
  switch (result) {
    case CombineResult::kTooManyColours: return kCannotCombineColoursText;
    case CombineResult::kTooManyStitches: return kCannotCombineStitchesText;
    case CombineResult::kOutsidePosition: return kDesignOutsidePositionText;
    case CombineResult::kOk: break;
  }
  return "";
}

const char* CombineCaption(CombineResult result) {
  return result == CombineResult::kOutsidePosition ? kVantleCaption : kErrorCaption;
}

CombineResult CPositionCombiner::Combine(const PositionGroup& group, int groupNumber) {
  groupNumber_ = groupNumber;
  turnedIsResult_ = false;
  stream_.Clear();
  threadCodes_.clear();
  secondValues_.clear();
  bounds_ = {};

  // The needle is taken from the position's centre to each design's start point and along
  // its jumps: all of that, not only the stitches, must stay inside the position's field.
  const SewingSpace space = groupNumber == 1 ? SewingSpace::kA : SewingSpace::kB;
  for (const LayoutDesign* d : group) {
    if (!IsValidPlacement(GetRotatedDesignExtents(*d)) || !InsidePosition(GetNeedlePathExtents(*d), space)) {
      return CombineResult::kOutsidePosition;
    }
  }
  int colourParts = 0;
  for (const LayoutDesign* d : group) colourParts += ColourPartsOf(*d->working);
  if (colourParts > kMaxPositionColourParts) return CombineResult::kTooManyColours;

  StitchPoint current =
      ToStitchPoint({groupNumber == 1 ? kSpaceACentreX : kSpaceBCentreX, kSpaceCentreY});
  for (std::size_t i = 0; i < group.size(); ++i) {
    const LayoutDesign& d = *group[i];
    const design::LayoutStitchRecord& record = *d.working;
    if (!RotateStitches(design_, record.StitchArea(), d.angle)) {
      return CombineResult::kTooManyStitches;
    }
    const StitchPoint start = ToStitchPoint({d.startX, d.startY});
    if (!EncodeMoveSteps(stream_, current, start)) return CombineResult::kTooManyStitches;
    current = GetStitchEndPoint(design_.Bytes(), start);
    if (!stream_.Append(WithoutEndPair(design_.Bytes()), kPositionStreamLimit)) {
      return CombineResult::kTooManyStitches;
    }

    const int n = record.ColourCount();
    bool joined = false;
    if (i + 1 < group.size()) {
      const design::LayoutStitchRecord& next = *group[i + 1]->working;
      // The same thread on both sides of the join: one colour part, no stop.
      joined = n > 0 && next.ColourCount() > 0 && record.ThreadCode(n - 1) == next.ThreadCode(0);
      if (!joined &&
          !stream_.Append(groupNumber == 1 ? kJoinA : kJoinB, kPositionStreamLimit)) {
        return CombineResult::kTooManyStitches;
      }
    }
    for (int c = 0; c < n; ++c) {
      if (joined && c == n - 1) break;
      threadCodes_.push_back(record.ThreadCode(c));
      secondValues_.push_back(record.ThreadType(c));
    }
  }
  // The end pair always has room: the buffer holds more than the stream's limit.
  stream_.Append(kEndPair, kPositionBufferBytes);

  if (groupNumber == 2) {
    if (!RotateStitches(turned_, stream_.Bytes(), kHalfTurn)) {
      return CombineResult::kTooManyStitches;
    }
    turnedIsResult_ = true;
  }
  bounds_ = GetStitchBounds(Stream());
  return CombineResult::kOk;
}

std::span<const uint8_t> CPositionCombiner::Stream() const {
  return turnedIsResult_ ? turned_.Bytes() : stream_.Bytes();
}

std::vector<uint8_t> CPositionCombiner::FileImage(char projectLetter,
                                                  const platform::LocalTime& now) const {
  using platform::WriteI32;
  namespace off = design::qnf_offset;
  const std::span<const uint8_t> stream = Stream();
  const int32_t n = ColourCount();
  const int32_t dataOffset = design::QnfStitchDataOffset(n);
  std::vector<uint8_t> image(static_cast<std::size_t>(dataOffset) + stream.size());
  uint8_t* p = image.data();

  WriteI32(p + off::kStitchDataOffset, dataOffset);
  WriteI32(p + off::kFlags, kQnfFlags);
  char digits[32];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", now.year % 10000,
                now.month % 100, now.day % 100, now.hour % 100, now.minute % 100,
                now.second % 100);
  std::memcpy(p + off::kDateText, digits, kDateDigits);
  p[kProjectLetterOffset] = static_cast<uint8_t>(projectLetter);
  p[kGroupNumberOffset] = static_cast<uint8_t>(groupNumber_);
  WriteI32(p + off::kColourCount, n);
  WriteI32(p + off::kPairCount, static_cast<int32_t>(stream.size() / 2));
  WriteI32(p + off::kHoopCode, kLargeHoopCode);

  // Extents as the machine reads them: left, top, right, bottom from the first point.
  const int32_t left = -bounds_.minX;
  const int32_t top = bounds_.maxY;
  const int32_t right = bounds_.maxX;
  const int32_t bottom = -bounds_.minY;
  const int32_t extents[4] = {left, top, right, bottom};
  const int32_t large[4] = {kLargeHoopHalfWidth - left, kLargeHoopHalfHeight - top,
                            kLargeHoopHalfWidth - right, kLargeHoopHalfHeight - bottom};
  for (int k = 0; k < 4; ++k) {
    WriteI32(p + off::kExtents + 4 * k, extents[k]);
    WriteI32(p + off::kStandardHoopMargins + 4 * k, -1);
    WriteI32(p + off::kSmallHoopMargins + 4 * k, -1);
    WriteI32(p + off::kLargeHoopMargins + 4 * k, large[k]);
    WriteI32(p + off::kLargeHoopMarginsCopy + 4 * k, large[k]);
  }
  for (int32_t c = 0; c < n; ++c) {
    WriteI32(p + off::kColourTables + 4 * c, threadCodes_[c]);
    WriteI32(p + off::kColourTables + 4 * (n + c), secondValues_[c]);
  }
  std::copy(stream.begin(), stream.end(), p + dataOffset);
  return image;
}

}  // namespace hooplayout
