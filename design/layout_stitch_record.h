#pragma once

// LayoutStitchRecord: the hoop-layout program's stitch record, 250,408 bytes, allocated
// whole by the owner of the design. Its head is smaller than a StitchRecord's and holds
// 16-bit colour values; the stitch bytes start at offset 406.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace design {

namespace layout_record_offset {
constexpr std::size_t kPairCount = 0;     // int32
constexpr std::size_t kColourCount = 4;   // int16
constexpr std::size_t kThreadCodes = 6;   // 100 x int16
constexpr std::size_t kThreadTypes = 206; // 100 x int16
constexpr std::size_t kStitches = 406;
}  // namespace layout_record_offset

class LayoutStitchRecord {
 public:
  static constexpr std::size_t kSize = 250408;
  static constexpr std::size_t kStitchRoom = kSize - layout_record_offset::kStitches;  // 250,002
  static constexpr int kColourSlots = 100;

  LayoutStitchRecord();

  void Clear();

  int32_t PairCount() const;
  void SetPairCount(int32_t v);
  int16_t ColourCount() const;
  void SetColourCount(int16_t v);
  int16_t ThreadCode(int i) const;
  void SetThreadCode(int i, int16_t v);
  int16_t ThreadType(int i) const;
  void SetThreadType(int i, int16_t v);

  uint8_t* Stitches() { return bytes_.data() + layout_record_offset::kStitches; }
  const uint8_t* Stitches() const { return bytes_.data() + layout_record_offset::kStitches; }
  std::span<uint8_t> StitchArea() { return {Stitches(), kStitchRoom}; }
  std::span<const uint8_t> StitchArea() const { return {Stitches(), kStitchRoom}; }

  std::span<uint8_t> Bytes() { return bytes_; }
  std::span<const uint8_t> Bytes() const { return bytes_; }

  friend bool operator==(const LayoutStitchRecord&, const LayoutStitchRecord&) = default;

 private:
  static std::size_t Slot(int i);
  std::vector<uint8_t> bytes_;
};

}  // namespace design
