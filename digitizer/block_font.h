#pragma once

// The block font clipart text is drawn in: each printable ASCII character as 5 columns by 7
// rows of dots, in a cell 6 dots across and 8 down (a column and a row of space). Text is drawn
// by filling the dots scaled to the cell, so it needs no font of the system's.

#include <array>
#include <cstdint>

namespace digitizer {

inline constexpr int kBlockGlyphColumns = 5;
inline constexpr int kBlockGlyphRows = 7;
inline constexpr int kBlockCellColumns = 6;
inline constexpr int kBlockCellRows = 8;

// The 7 rows of a character, top first; bit 4 is the leftmost dot. An accented letter of the
// Western code page draws as its plain letter; any other byte outside printable ASCII as an
// empty box.
std::array<uint8_t, kBlockGlyphRows> BlockGlyph(unsigned char c);

}  // namespace digitizer
