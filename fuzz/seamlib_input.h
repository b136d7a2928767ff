#pragma once

// How a fuzz input becomes a Seamlib call, and back (the seed maker writes sound calls the
// same way): a 16-bit stitch type code, the work width and height as fractions of the
// largest work area, where a drawn pattern starts, its width in pixels, a flags byte (bit 0
// the border flag, bits 1..2 the part count 1..3 of one design), ten 24-byte satin column
// records when the fill type is 4, then the pattern's rows, one bit a pixel, most
// significant bit leftmost, each row whole bytes. Pattern pixels outside the work area are
// dropped, as the caller never marks them.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "stitchgen/pixel_plane.h"
#include "stitchgen/seamlib.h"

namespace vfuzz {

using seamlib::kMaskBytes;
using seamlib::kMaskStride;
constexpr int kMaxWorkWidth = seamlib::kWorkColumns;
constexpr int kMaxWorkHeight = seamlib::kWorkRows;
constexpr int kSatinFillType = 4;
constexpr int kLastWeaveFillType = 2;
constexpr int kSatinRecords = 10;
constexpr std::size_t kCallHeadBytes = 8;

struct SeamlibCall {
  int typeCode = 0;
  int width = 1;
  int height = 1;
  int borderFlag = 0;
  int parts = 1;  // 1 or 2: the second part starts at the first one's end
  std::vector<SatinColumnRecord> satin;  // 10 records for a satin part, else none
  std::vector<uint8_t> mask;             // 562 x 802
};

inline int Scaled(uint8_t b, int largest) { return 1 + b * (largest - 1) / 255; }

inline bool DecodeSeamlibCall(std::span<const uint8_t> in, SeamlibCall& call) {
  if (in.size() < kCallHeadBytes) return false;
  call.typeCode = in[0] | (in[1] << 8);
  call.width = Scaled(in[2], kMaxWorkWidth);
  call.height = Scaled(in[3], kMaxWorkHeight);
  const int startX = in[4] * (call.width - 1) / 255;
  const int startY = in[5] * (call.height - 1) / 255;
  const int patternWidth = 1 + in[6] % 128;
  call.borderFlag = in[7] & 1;
  // A weave part walks a 980 x 980 grid several times: two of them in one input would pass
  // the hang limit under the sanitizers, so weaves come alone.
  call.parts = (call.typeCode & 0xFF) <= kLastWeaveFillType ? 1 : 1 + ((in[7] >> 1) & 1);
  in = in.subspan(kCallHeadBytes);
  call.satin.clear();
  if ((call.typeCode & 0xFF) == kSatinFillType) {
    if (in.size() < kSatinRecords * sizeof(SatinColumnRecord)) return false;
    call.satin.resize(kSatinRecords);
    for (int i = 0; i < kSatinRecords; ++i) {
      std::memcpy(&call.satin[i], in.data() + i * sizeof(SatinColumnRecord), sizeof(SatinColumnRecord));
    }
    in = in.subspan(kSatinRecords * sizeof(SatinColumnRecord));
  }
  call.mask.assign(kMaskBytes, 0);
  const std::size_t rowBytes = (static_cast<std::size_t>(patternWidth) + 7) / 8;
  for (int row = 0; (row + 1) * rowBytes <= in.size(); ++row) {
    const int y = startY + row;
    if (y >= call.height) break;
    for (int px = 0; px < patternWidth; ++px) {
      const int x = startX + px;
      if (x >= call.width) break;
      if (in[row * rowBytes + px / 8] & (0x80 >> (px % 8))) call.mask[(y + 1) * kMaskStride + (x + 1)] = 1;
    }
  }
  return true;
}

// The input of a call over a work area of width x height (whole pixels of the largest
// area's 255ths) with the pattern of 0/1 rows drawn from (startX, startY).
inline std::vector<uint8_t> EncodeSeamlibCall(int typeCode, uint8_t widthByte, uint8_t heightByte, uint8_t startXByte,
                                              uint8_t startYByte, const std::vector<std::vector<uint8_t>>& rows,
                                              const std::vector<SatinColumnRecord>& satin, int parts) {
  const int patternWidth = rows.empty() ? 1 : std::min<int>(128, static_cast<int>(rows[0].size()));
  std::vector<uint8_t> out = {static_cast<uint8_t>(typeCode), static_cast<uint8_t>(typeCode >> 8), widthByte,
                              heightByte, startXByte, startYByte, static_cast<uint8_t>(patternWidth - 1),
                              static_cast<uint8_t>((parts - 1) << 1)};
  for (const SatinColumnRecord& r : satin) {
    const auto* p = reinterpret_cast<const uint8_t*>(&r);
    out.insert(out.end(), p, p + sizeof r);
  }
  const std::size_t rowBytes = (static_cast<std::size_t>(patternWidth) + 7) / 8;
  for (const auto& row : rows) {
    std::vector<uint8_t> packed(rowBytes, 0);
    for (int x = 0; x < patternWidth && x < static_cast<int>(row.size()); ++x) {
      if (row[x]) packed[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), packed.begin(), packed.end());
  }
  return out;
}

}  // namespace vfuzz
