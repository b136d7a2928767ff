#include "tools/fontmaker/letter_masks.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace fontmaker {

namespace {

// The em square in 0.25 mm pixels: 24 mm, capitals of about 18 mm.
constexpr int kEmPixels = 96;
// FreeType's 26.6 fixed point.
constexpr long kFixedOne = 64;
// Preview pixels are 0.5 mm, two mask pixels.
constexpr long kMaskPixelsPerPreviewPixel = 2;

bool Printable(int c) { return (c > 32 && c < 127) || (c > 160 && c <= 255); }

GlyphMask MaskOf(const FT_Bitmap& bitmap, int top) {
  GlyphMask mask;
  mask.width = static_cast<int>(bitmap.width);
  mask.height = static_cast<int>(bitmap.rows);
  mask.baseline = top;
  mask.pixels.assign(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height), 0);
  for (int y = 0; y < mask.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < mask.width; ++x) {
      // One bit a pixel, the leftmost in the byte's top bit.
      mask.pixels[static_cast<std::size_t>(y) * mask.width + x] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  return mask;
}

}  // namespace

std::optional<RenderedLetters> RenderLetterMasks(const std::string& outlineFontPath) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, outlineFontPath.c_str(), 0, &face) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, kEmPixels) != 0) {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
    return std::nullopt;
  }
  RenderedLetters letters;
  for (int c = 0; c <= 255; ++c) {
    if (!Printable(c)) continue;
    if (FT_Get_Char_Index(face, static_cast<FT_ULong>(c)) == 0) continue;
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO || slot->bitmap.rows == 0 || slot->bitmap.width == 0) continue;
    letters.masks[static_cast<unsigned char>(c)] = MaskOf(slot->bitmap, slot->bitmap_top);
  }
  letters.lineUnit = static_cast<int32_t>(face->size->metrics.height / kFixedOne / kMaskPixelsPerPreviewPixel);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return letters;
}

}  // namespace fontmaker
