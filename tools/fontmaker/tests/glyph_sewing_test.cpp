#include "tools/fontmaker/glyph_sewing.h"

#include <gtest/gtest.h>

#include "layoutcore/monogram/monogram_font.h"
#include "testing/stitch_walker.h"

using fontmaker::GlyphMask;

namespace {

// A mask of the given size with ink where ink(x, y) says.
template <class Ink>
GlyphMask MaskOf(int width, int height, int baseline, Ink ink) {
  GlyphMask mask{width, height, baseline, std::vector<uint8_t>(static_cast<std::size_t>(width) * height, 0)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) mask.pixels[static_cast<std::size_t>(y) * width + x] = ink(x, y) ? 1 : 0;
  }
  return mask;
}

}  // namespace

TEST(FontmakerGlyphs, EverySewnStitchLiesOnTheLettersInkAboutItsBaseLine) {
  // Bars, a ring, an L and two blobs, standing on, above and through the base line.
  const std::vector<GlyphMask> masks{
      MaskOf(20, 70, 70, [](int, int) { return true; }),
      MaskOf(60, 14, 40, [](int, int) { return true; }),
      MaskOf(50, 50, 40, [](int x, int y) { const int d = (x - 25) * (x - 25) + (y - 25) * (y - 25); return d < 600 && d > 200; }),
      MaskOf(40, 60, 60, [](int x, int y) { return x < 10 || y >= 50; }),
      MaskOf(60, 30, 30, [](int x, int) { return x < 20 || x >= 40; }),
  };
  for (std::size_t i = 0; i < masks.size(); ++i) {
    const GlyphMask& mask = masks[i];
    const std::vector<uint8_t> stitches = fontmaker::SewGlyph(mask);
    ASSERT_FALSE(stitches.empty()) << i;
    const vtest::WalkResult walk = vtest::WalkStitches(stitches);
    ASSERT_TRUE(walk.ended) << i << walk.error;
    EXPECT_EQ(walk.endOffset + 2, stitches.size()) << i;
    ASSERT_GT(walk.sewn.size(), 20u) << i;
    // The glyph's frame: x right from the mask's left edge, y up from the base line, 0.1 mm;
    // a pixel is 2.5 units. A weave's row ends reach up to 1 mm past the ink they cover.
    auto onInk = [&](int sx, int sy) {
      const int px = sx * 2 / 5, py = mask.baseline - sy * 2 / 5;
      for (int y = py - 4; y <= py + 4; ++y) {
        for (int x = px - 4; x <= px + 4; ++x) {
          if (x >= 0 && y >= 0 && x < mask.width && y < mask.height && mask.Ink(x, y)) return true;
        }
      }
      return false;
    };
    for (const vtest::SewnSegment& s : walk.sewn) {
      ASSERT_TRUE(onInk(s.x0, s.y0) && onInk(s.x1, s.y1)) << i << ": " << s.x0 << "," << s.y0 << " " << s.x1 << "," << s.y1;
    }
  }
}

TEST(FontmakerGlyphs, EmptyOrOversizeMasksGiveNoGlyph) {
  EXPECT_TRUE(fontmaker::SewGlyph(MaskOf(10, 10, 10, [](int, int) { return false; })).empty());
  EXPECT_TRUE(fontmaker::SewGlyph(MaskOf(600, 10, 10, [](int, int) { return true; })).empty());
  EXPECT_TRUE(fontmaker::SewGlyph(GlyphMask{10, 10, 10, {1, 1}}).empty());
}

TEST(FontmakerGlyphs, TallLettersAreSewnWithAVerticalWeave) {
  EXPECT_EQ(fontmaker::FillFor(MaskOf(10, 40, 40, [](int, int) { return true; })), fontmaker::LetterFill::kVerticalWeave);
  EXPECT_EQ(fontmaker::FillFor(MaskOf(40, 10, 10, [](int, int) { return true; })), fontmaker::LetterFill::kHorizontalWeave);
}

TEST(FontmakerGlyphs, TheFontHoldsASoundRecordForEverySewnLetter) {
  std::map<unsigned char, GlyphMask> letters;
  letters['I'] = MaskOf(12, 60, 60, [](int, int) { return true; });
  letters['-'] = MaskOf(30, 8, 30, [](int, int) { return true; });
  letters[' '] = MaskOf(4, 4, 4, [](int, int) { return false; });
  const auto image = editor::MonogramFontBytes(fontmaker::MakeMonogramFont(letters, {56, {0, 2, 6}}));
  const auto header = editor::ParseMonogramFontHeader(image);
  ASSERT_EQ(header.status, editor::FontReadStatus::kOk);
  EXPECT_EQ(header.header.lineUnit, 56);
  EXPECT_FALSE(header.header.HasGlyph(' '));
  for (unsigned char c : {'I', '-'}) {
    ASSERT_TRUE(header.header.HasGlyph(c));
    const std::size_t at = editor::kFontHeaderSize + static_cast<std::size_t>(header.header.GlyphOffset(c));
    const std::size_t length = image[at] | (image[at + 1] << 8);
    const std::vector<uint8_t> record(image.begin() + static_cast<std::ptrdiff_t>(at),
                                      image.begin() + static_cast<std::ptrdiff_t>(at + length));
    EXPECT_TRUE(editor::GlyphRecordIsSound(record)) << c;
    editor::GlyphRecord glyph{record};
    EXPECT_EQ(static_cast<std::size_t>(glyph.PairTotal()), (length - editor::kGlyphStitchesAt) / 2) << c;
  }
}

TEST(FontmakerGlyphs, PartCountsSplitAtTheLargestCount) {
  EXPECT_EQ(fontmaker::GlyphPartCounts(std::vector<uint8_t>(2 * 40000)), (std::vector<int16_t>{32767, 7233}));
  EXPECT_TRUE(fontmaker::GlyphPartCounts({}).empty());
}
