#pragma once

// The names every part dialog shows: fill types by the low byte of a stitch code, and thread
// colours through the 83-row colour table (the 78 machine threads and five greys).

#include <cstdint>
#include <string>

namespace digitizer {

enum FillType : int {
  kHorizontalWeave = 0,
  kDiagonalWeave = 1,
  kVerticalWeave = 2,
  kCrossStitch = 3,
  kSatinStitch = 4,
  kZigzagStitch = 5,
  kZigzag2mm = 6,
  kZigzag3mm = 7,
  kZigzag5mm = 8,
  kStraightStitch = 9,
};
constexpr int kFillTypeCount = 10;

constexpr int FillTypeOf(uint16_t stitch) { return stitch & 0xFF; }
constexpr int FillParameterOf(uint16_t stitch) { return stitch >> 8; }
constexpr uint16_t MakeStitchCode(int fillType, int parameter) {
  return static_cast<uint16_t>((fillType & 0xFF) | ((parameter & 0xFF) << 8));
}

// Null for a fill type above 9.
const char* GetFillTypeName(uint16_t stitch);
const char* GetFillTypeLabel(uint16_t stitch);

// Each true when the code is in the table; the text is left as it was otherwise.
bool LookupThreadName(int code, std::string& name);
bool LookupThreadShortName(int code, std::string& shortName);
bool LookupThreadCatalogue(int code, std::string& catalogue);
// The thread code of a table row 0..82; 1 for an index outside the table.
int LookupThreadCode(int index);
// The table row of a thread code; 0 for a code the table does not carry.
int LookupThreadIndex(int code);

}  // namespace digitizer
