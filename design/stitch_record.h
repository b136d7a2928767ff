#pragma once

// StitchRecord: one design in memory, the image of a QNF file with room for the largest
// design. A 740-byte head (the 116-byte header, 78 thread codes, 78 thread types) and the
// stitch bytes behind it. Brodera's record has 131,072 bytes of stitch room (131,812 in
// all); Pictorel's design buffer has the same head and 750,000 bytes of stitch room.
//
// The record is kept as its byte image, allocated once at its full size and copied whole;
// fields are read and written little-endian at their record offsets. In the record the
// small-hoop margins stand before the standard-hoop margins, the other order than in the
// file (the QNF writer and reader swap them).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "design/stitch_stream.h"

namespace design {

namespace record_offset {
constexpr std::size_t kStitchDataOffset = 0;
constexpr std::size_t kFlags = 4;
constexpr std::size_t kDateText = 8;      // 14 digits, then batch letter, batch number
constexpr std::size_t kBatchLetter = 22;
constexpr std::size_t kBatchNumber = 23;
constexpr std::size_t kColourCount = 24;
constexpr std::size_t kPairCount = 28;
constexpr std::size_t kHoopCode = 32;
constexpr std::size_t kExtents = 36;
constexpr std::size_t kSmallHoopMargins = 52;
constexpr std::size_t kStandardHoopMargins = 68;
constexpr std::size_t kLargeHoopMargins = 84;
constexpr std::size_t kLargeHoopMarginsCopy = 100;
constexpr std::size_t kThreadCodes = 116;
constexpr std::size_t kThreadTypes = 428;
constexpr std::size_t kStitches = 740;
}  // namespace record_offset

constexpr int kMaxColours = 78;
constexpr int kDateTextLength = 16;
// Every writer of the system writes this thread type.
constexpr int32_t kThreadTypeStandard = 13;

class StitchRecord {
 public:
  static constexpr std::size_t kHeadSize = record_offset::kStitches;
  static constexpr std::size_t kBroderaStitchRoom = 131072;
  static constexpr std::size_t kBroderaSize = kHeadSize + kBroderaStitchRoom;  // 131,812
  static constexpr std::size_t kPictorelStitchRoom = 750000;

  explicit StitchRecord(std::size_t stitchRoom = kBroderaStitchRoom);

  // Zeroes the whole record.
  void Clear();

  int32_t StitchDataOffset() const { return I32(record_offset::kStitchDataOffset); }
  void SetStitchDataOffset(int32_t v) { SetI32(record_offset::kStitchDataOffset, v); }
  int32_t Flags() const { return I32(record_offset::kFlags); }
  void SetFlags(int32_t v) { SetI32(record_offset::kFlags, v); }
  uint8_t* DateText() { return bytes_.data() + record_offset::kDateText; }
  const uint8_t* DateText() const { return bytes_.data() + record_offset::kDateText; }
  uint8_t BatchLetter() const { return bytes_[record_offset::kBatchLetter]; }
  void SetBatchLetter(uint8_t v) { bytes_[record_offset::kBatchLetter] = v; }
  uint8_t BatchNumber() const { return bytes_[record_offset::kBatchNumber]; }
  void SetBatchNumber(uint8_t v) { bytes_[record_offset::kBatchNumber] = v; }
  int32_t ColourCount() const { return I32(record_offset::kColourCount); }
  void SetColourCount(int32_t v) { SetI32(record_offset::kColourCount, v); }
  int32_t PairCount() const { return I32(record_offset::kPairCount); }
  void SetPairCount(int32_t v) { SetI32(record_offset::kPairCount, v); }
  int32_t Hoop() const { return I32(record_offset::kHoopCode); }
  void SetHoop(int32_t v) { SetI32(record_offset::kHoopCode, v); }

  Extents GetExtents() const;
  void SetExtents(const Extents& e);

  MarginBlock SmallHoopMargins() const { return Margins(record_offset::kSmallHoopMargins); }
  void SetSmallHoopMargins(const MarginBlock& m) { SetMargins(record_offset::kSmallHoopMargins, m); }
  MarginBlock StandardHoopMargins() const { return Margins(record_offset::kStandardHoopMargins); }
  void SetStandardHoopMargins(const MarginBlock& m) {
    SetMargins(record_offset::kStandardHoopMargins, m);
  }
  MarginBlock LargeHoopMargins() const { return Margins(record_offset::kLargeHoopMargins); }
  void SetLargeHoopMargins(const MarginBlock& m) { SetMargins(record_offset::kLargeHoopMargins, m); }
  MarginBlock LargeHoopMarginsCopy() const { return Margins(record_offset::kLargeHoopMarginsCopy); }
  void SetLargeHoopMarginsCopy(const MarginBlock& m) {
    SetMargins(record_offset::kLargeHoopMarginsCopy, m);
  }

  // Colour blocks are numbered 0..77.
  int32_t ThreadCode(int i) const { return I32(record_offset::kThreadCodes + 4 * Slot(i)); }
  void SetThreadCode(int i, int32_t v) { SetI32(record_offset::kThreadCodes + 4 * Slot(i), v); }
  int32_t ThreadType(int i) const { return I32(record_offset::kThreadTypes + 4 * Slot(i)); }
  void SetThreadType(int i, int32_t v) { SetI32(record_offset::kThreadTypes + 4 * Slot(i), v); }

  uint8_t* Stitches() { return bytes_.data() + kHeadSize; }
  const uint8_t* Stitches() const { return bytes_.data() + kHeadSize; }
  std::span<uint8_t> StitchArea() { return {Stitches(), stitchRoom_}; }
  std::span<const uint8_t> StitchArea() const { return {Stitches(), stitchRoom_}; }
  std::size_t StitchRoom() const { return stitchRoom_; }

  // The whole image, head and stitch room.
  std::span<uint8_t> Bytes() { return bytes_; }
  std::span<const uint8_t> Bytes() const { return bytes_; }

  friend bool operator==(const StitchRecord&, const StitchRecord&) = default;

 private:
  static std::size_t Slot(int i);
  int32_t I32(std::size_t offset) const;
  void SetI32(std::size_t offset, int32_t v);
  MarginBlock Margins(std::size_t offset) const;
  void SetMargins(std::size_t offset, const MarginBlock& m);

  std::size_t stitchRoom_;
  std::vector<uint8_t> bytes_;
};

}  // namespace design
