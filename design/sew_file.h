#pragma once

// The SEW stitch file, the format the machine family used before QNF (read only): a u16
// colour count (1..12), one u16 thread code per colour block, then at offset 7544 the
// stitch bytes in the QNF stitch code, ending with 0x80 0x10. The bytes between the code
// table and 7544 carry nothing we read. Little-endian.

#include <cstddef>
#include <cstdint>

namespace design {

namespace sew_offset {
constexpr std::size_t kColourCount = 0;
constexpr std::size_t kThreadCodes = 2;
constexpr std::size_t kStitches = 7544;
}  // namespace sew_offset

constexpr int kMaxSewColours = 12;
// Stitch data copied from a SEW file, the two lead-in jumps included, may not reach this.
constexpr std::size_t kSewStitchLimitBytes = 65536;
constexpr int32_t kMaxSewPairs = 32767;

// A SEW design starts 9 mm left and 5 mm up of where the machine's needle rests: two jumps
// of (-90, 50) ahead of the file's own stitches.
constexpr uint8_t kSewLeadIn[8] = {0x80, 0x02, 0xA6, 0x32, 0x80, 0x02, 0xA6, 0x32};

}  // namespace design
