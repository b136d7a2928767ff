#pragma once

// The letters of an outline font rendered into the monogram font's pixel masks: every
// character the lettering can take (the printable characters of 33..255) at a fixed size,
// one bit a pixel of 0.25 mm, with the line unit the font's line spacing gives.

#include <map>
#include <optional>
#include <string>

#include "tools/fontmaker/glyph_sewing.h"

namespace fontmaker {

struct RenderedLetters {
  std::map<unsigned char, GlyphMask> masks;
  int32_t lineUnit = 0;  // preview pixels (0.5 mm)
};

// Nothing when the outline font cannot be read.
std::optional<RenderedLetters> RenderLetterMasks(const std::string& outlineFontPath);

}  // namespace fontmaker
