#pragma once

// The QNF design file: a 116-byte header, n thread codes, n thread types (i32 each), then
// the stitch bytes from the stitch-data offset 116 + 8n, ending with 0x80 0x10. All
// integers little-endian; y grows upwards in every field.

#include <cstddef>
#include <cstdint>

namespace design {

namespace qnf_offset {
constexpr std::size_t kStitchDataOffset = 0;
constexpr std::size_t kFlags = 4;
constexpr std::size_t kDateText = 8;
constexpr std::size_t kColourCount = 24;
constexpr std::size_t kPairCount = 28;
constexpr std::size_t kHoopCode = 32;
constexpr std::size_t kExtents = 36;
constexpr std::size_t kStandardHoopMargins = 52;  // the record keeps these at 68
constexpr std::size_t kSmallHoopMargins = 68;     // the record keeps these at 52
constexpr std::size_t kLargeHoopMargins = 84;
constexpr std::size_t kLargeHoopMarginsCopy = 100;
constexpr std::size_t kColourTables = 116;
}  // namespace qnf_offset

constexpr std::size_t kQnfHeaderSize = 116;
// The most pairs a design may have when it is imported.
constexpr int32_t kMaxImportPairs = 65535;

constexpr int32_t QnfStitchDataOffset(int32_t colourCount) {
  return static_cast<int32_t>(kQnfHeaderSize) + 8 * colourCount;
}

}  // namespace design
