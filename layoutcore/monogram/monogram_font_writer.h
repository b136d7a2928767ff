#pragma once

// Writes monogram font files (".mnf") in the layout the reader takes (monogram_font.h): the
// header with the line unit and the three letter gaps, the glyph offset table of the
// characters 32..255 (-1 for a character without a glyph), and the glyph records one after
// another from offset 916 in the order of their characters.

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "layoutcore/monogram/monogram_font.h"

namespace editor {

// One glyph record: length, part count, 48 unused bytes, the part counts at 52 (at most 12
// are kept) and the stitch pairs from 76. The stitches end with their end pair.
std::vector<uint8_t> MonogramGlyphRecordBytes(std::span<const uint8_t> stitches, std::span<const int16_t> partCounts);

struct MonogramFontImage {
  int32_t lineUnit = 0;
  std::array<int32_t, kSpacingCount> gaps{-10, -5, 5};
  std::map<unsigned char, std::vector<uint8_t>> records;  // character -> glyph record bytes
};

// The whole file; characters below 32 are left out.
std::vector<uint8_t> MonogramFontBytes(const MonogramFontImage& font);

}  // namespace editor
