// Every letter of the font the build ships, sewn the way a lettering sews it, against the
// letter's own pixels: no sewn stitch may lie across fabric the letter leaves bare, and none
// may be longer than the weave's own stitches.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "layoutcore/monogram/monogram_font.h"
#include "layoutcore/monogram/monogram_stitches.h"
#include "testing/stitch_walker.h"
#include "tools/fontmaker/letter_masks.h"

using fontmaker::GlyphMask;

namespace {

// Stitch units (0.1 mm) per mask pixel (0.25 mm).
constexpr double kUnitsPerPixel = 2.5;
// A row line reaches 2 pixels past the ink it covers and needle points are placed to the
// 0.1 mm: a stitch may end up to 3 pixels off the ink, but not cross bare fabric on its way.
constexpr double kRowEndPixels = 3;
// The fill closes one-pixel gaps: a point within one pixel of ink lies on the letter.
constexpr int kInkTolerancePixels = 1;

struct Walked {
  vtest::WalkResult walk;
  std::vector<bool> tieOff;  // per sewn segment: one of a sweep's closing tie-off stitches
};

// The glyph written by a lettering, upright, and read the machine's way. Its frame has the
// origin at the left end of the base line, y up: mask pixel (x, y) lies at
// (2.5 x, 2.5 (baseline - y)).
Walked SewnByLettering(const std::vector<uint8_t>& record) {
  editor::MonogramGlyph glyph;
  glyph.record.bytes = record;
  std::vector<uint8_t> area(editor::kMaxLetteringBytes + 64, 0);
  editor::StitchSink sink(area);
  editor::NeedlePoint needle{5000, 5000};
  EXPECT_TRUE(editor::WriteGlyphStitches(glyph, needle, {10000, 10000}, sink));
  area.resize(sink.Position());
  area.insert(area.end(), {0x80, 0x10});
  Walked walked{vtest::WalkStitches(area), {}};
  EXPECT_TRUE(walked.walk.ended) << walked.walk.error;
  EXPECT_EQ(walked.walk.longStitches, 0);
  // The tie-off that closes a sweep: 0.5 mm twice along x and back. It belongs to the fill.
  const auto& sewn = walked.walk.sewn;
  walked.tieOff.assign(sewn.size(), false);
  for (std::size_t i = 0; i + 3 < sewn.size(); ++i) {
    const int a = sewn[i].x1 - sewn[i].x0;
    auto is = [&](std::size_t k, int dx) { return sewn[k].x1 - sewn[k].x0 == dx && sewn[k].y1 == sewn[k].y0; };
    if (std::abs(a) == 5 && is(i, a) && is(i + 1, a) && is(i + 2, -a) && is(i + 3, -a)) {
      std::fill_n(walked.tieOff.begin() + static_cast<std::ptrdiff_t>(i), 4, true);
    }
  }
  return walked;
}

double Longest(const vtest::WalkResult& walk) {
  double longest = 0;
  for (const vtest::SewnSegment& s : walk.sewn) longest = std::max(longest, std::hypot(s.x1 - s.x0, s.y1 - s.y0));
  return longest;
}

bool NearInk(const GlyphMask& mask, double unitsX, double unitsY, double tolerance) {
  const int cx = static_cast<int>(std::lround(unitsX / kUnitsPerPixel));
  const int cy = static_cast<int>(std::lround(mask.baseline - unitsY / kUnitsPerPixel));
  const int t = static_cast<int>(tolerance);
  for (int y = cy - t; y <= cy + t; ++y) {
    for (int x = cx - t; x <= cx + t; ++x) {
      if (x >= 0 && y >= 0 && x < mask.width && y < mask.height && mask.Ink(x, y)) return true;
    }
  }
  return false;
}

// A sewn stitch lies on the letter when its ends are near the ink and every point of it
// more than a row end away from both ends is on the ink; sampled a quarter pixel apart.
bool LiesOnLetter(const GlyphMask& mask, const vtest::SewnSegment& s) {
  if (!NearInk(mask, s.x0, s.y0, kRowEndPixels) || !NearInk(mask, s.x1, s.y1, kRowEndPixels)) return false;
  const double lengthPixels = std::hypot(s.x1 - s.x0, s.y1 - s.y0) / kUnitsPerPixel;
  const int samples = static_cast<int>(std::ceil(lengthPixels * 4));
  for (int k = 1; k < samples; ++k) {
    const double t = static_cast<double>(k) / samples;
    if (std::min(t, 1 - t) * lengthPixels <= kRowEndPixels) continue;
    if (!NearInk(mask, s.x0 + t * (s.x1 - s.x0), s.y0 + t * (s.y1 - s.y0), kInkTolerancePixels)) return false;
  }
  return true;
}

// The longest stitch the weave sews on a solid block (its bricks and its turns from row to
// row), in the glyph's stitch data read the machine's way.
double WeavesOwnLongest(int width, int height) {
  const GlyphMask block{width, height, height, std::vector<uint8_t>(static_cast<std::size_t>(width) * height, 1)};
  return Longest(vtest::WalkStitches(fontmaker::SewGlyph(block)));
}

}  // namespace

TEST(ShippedGlyphs, NoSewnStitchCrossesBareFabricOrOutgrowsTheWeave) {
  const std::filesystem::path fontFile = std::filesystem::path(VELINOR_PROGRAM_FOLDER) / "Velinor Sans.mnf";
  const auto header = editor::ReadMonogramFontHeader(fontFile);
  ASSERT_EQ(header.status, editor::FontReadStatus::kOk);
  const auto letters = fontmaker::RenderLetterMasks(VELINOR_OUTLINE_FONT);
  ASSERT_TRUE(letters.has_value());
  ASSERT_GT(letters->masks.size(), 180u);
  // Each fill's own longest stitch, and a unit for the truncation of a travel's steps.
  const double horizontalLongest = WeavesOwnLongest(80, 40) + 1;
  const double verticalLongest = WeavesOwnLongest(40, 80) + 1;
  ASSERT_LT(std::max(horizontalLongest, verticalLongest), 42);  // a brick of 4 mm and its turn

  std::string table;
  int listed = 0;
  for (const auto& [c, mask] : letters->masks) {
    SCOPED_TRACE(std::to_string(int{c}));
    ASSERT_TRUE(header.header.HasGlyph(c));
    const auto read = editor::ReadGlyphRecord(fontFile, header.header.GlyphOffset(c));
    ASSERT_EQ(read.status, editor::GlyphReadStatus::kOk);
    const Walked walked = SewnByLettering(read.record.bytes);
    for (std::size_t i = 0; i < walked.walk.sewn.size(); ++i) {
      const vtest::SewnSegment& s = walked.walk.sewn[i];
      if (walked.tieOff[i] || LiesOnLetter(mask, s)) continue;
      ADD_FAILURE() << "a sewn stitch crosses bare fabric: (" << s.x0 << "," << s.y0 << ") to (" << s.x1 << "," << s.y1 << ")";
      break;
    }
    const double longest = Longest(walked.walk);
    const bool vertical = fontmaker::FillFor(mask) == fontmaker::LetterFill::kVerticalWeave;
    EXPECT_LE(longest, vertical ? verticalLongest : horizontalLongest);
    char entry[40];
    std::snprintf(entry, sizeof entry, "%3d %4.1f %2d%s", int{c}, longest / 10, walked.walk.jumps,
                  ++listed % 8 == 0 ? "\n" : " |");
    table += entry;
  }
  // Character, longest sewn stitch (mm), jumps.
  std::printf("%s\n", table.c_str());
}
