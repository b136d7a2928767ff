#pragma once

// Sews the monogram font's letters: a letter's pixel mask (0.25 mm pixels, y down) becomes
// a filled part through Seamlib, and the part's stitch pairs become the glyph's stitch data
// in the glyph's own frame: the origin is the left end of the letter's base line, x right,
// y up. The data start with the jumps from there to the letter's first stitch, and every
// jump run inside the letter ends with a landing of nothing.

#include <cstdint>
#include <map>
#include <vector>

#include "layoutcore/monogram/monogram_font_writer.h"

namespace fontmaker {

struct GlyphMask {
  int width = 0;     // pixels
  int height = 0;
  int baseline = 0;  // rows from the top row down to the base line (beyond height for a letter that floats)
  std::vector<uint8_t> pixels;  // width x height, row-major, 1 = ink

  bool Ink(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] != 0; }
};

// Fill types of Seamlib the letters are sewn with.
enum class LetterFill {
  kHorizontalWeave = 0,
  kVerticalWeave = 2,
};

// The fill a letter is sewn with: rows of stitches across the letter's longer extent cover it
// with the fewest and longest stitches, so a tall letter is sewn with a vertical weave.
LetterFill FillFor(const GlyphMask& mask);

// The glyph's stitch data ending with the end pair, or empty when the mask holds no ink or
// does not fit Seamlib's work area.
std::vector<uint8_t> SewGlyph(const GlyphMask& mask);

// The part counts of a glyph record for its stitch data: the pairs, in counts of at most
// 32,767 each.
std::vector<int16_t> GlyphPartCounts(const std::vector<uint8_t>& stitches);

struct FontMeasures {
  int32_t lineUnit = 0;  // preview pixels (0.5 mm)
  std::array<int32_t, editor::kSpacingCount> gaps{0, 2, 6};
};

// The font of the sewn letters; a letter that gave no stitches is left out.
editor::MonogramFontImage MakeMonogramFont(const std::map<unsigned char, GlyphMask>& letters, const FontMeasures& measures);

}  // namespace fontmaker
