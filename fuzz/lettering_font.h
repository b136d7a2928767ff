#pragma once

// The monogram font the lettering harness types with, written by the seed maker's lettering
// blocks too: a few upper-case letters, a lower-case one and a digit, each a small glyph of
// stitches and jumps.

#include <filesystem>
#include <vector>

#include "testing/monogram_font_builder.h"
#include "testing/stitch_stream_builder.h"

namespace vfuzz {

inline constexpr const char* kLetteringFontName = "Script";
inline constexpr const char* kLetteringFontFile = "Script.mnf";
inline constexpr const char* kLetteringCharacters = "ABCa1";

inline std::vector<uint8_t> LetteringFontFile() {
  vtest::MonogramFontBuilder font;
  font.LineUnit(80).Gaps(-10, -5, 5);
  int width = 8;
  for (const char* c = kLetteringCharacters; *c; ++c, width += 3) {
    font.Glyph(static_cast<unsigned char>(*c), vtest::StitchStreamBuilder()
                                                   .Stitch(width, 0)
                                                   .Stitch(0, 12)
                                                   .Jump(-width, 10)
                                                   .Stitch(width / 2, 8)
                                                   .End()
                                                   .Bytes());
  }
  return font.Build();
}

}  // namespace vfuzz
