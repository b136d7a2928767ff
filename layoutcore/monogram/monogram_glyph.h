#pragma once

// One entered character of a lettering: where it stands in the preview (preview pixels,
// 0.5 mm, y down), how it is turned, its measured size and its stitch record. One preview
// pixel is 5 stitch units.

#include <cstdint>

#include "design/stitch_stream.h"
#include "layoutcore/monogram/monogram_font.h"
#include "layoutcore/monogram_block.h"

namespace editor {

constexpr double kStitchToPreview = 0.2;
constexpr int kPreviewToStitch = 5;
// The constants the lettering has always turned its letters with.
constexpr double kTwoPi = 6.283185307;
constexpr double kOneOver360 = 0.002777777777777778;

struct MonogramGlyph {
  uint8_t character = 0;
  int32_t font = 0;
  MonogramPoint origin;  // the glyph's first stitch
  MonogramPoint centre;  // the middle of its rectangle
  MonogramPoint offset;  // origin minus centre, with the glyph unrotated
  int32_t angle = 0;     // whole degrees; only its sine and cosine matter
  GlyphRecord record;    // empty for a character the font has no record of
  int32_t width = 0;
  int32_t height = 0;
  int32_t topOffset = 0;
  MonogramRect rect;
  int32_t advanceWidth = 0;

  bool IsSpace() const { return character == ' '; }
};

// The glyph's angle in radians, turned the way the stitch frame turns (y upward).
double GlyphRadians(int32_t angleDegrees);

enum class GlyphStepKind { kStitch, kJump, kColourChange };

// Calls step(kind, dx, dy) for each step of the glyph's stitch pairs from offset 76 up to the
// end pair: a colour change and a jump give the pair after them, any other control pair is
// stepped over. The record has been checked, so the walk stays inside it.
template <class Step>
void ForEachGlyphStep(const GlyphRecord& record, Step&& step) {
  const std::vector<uint8_t>& b = record.bytes;
  std::size_t pos = kGlyphStitchesAt;
  while (pos + 2 <= b.size()) {
    const uint8_t* pair = b.data() + pos;
    if (!design::IsControl(pair)) {
      step(GlyphStepKind::kStitch, design::PairDx(pair), design::PairDy(pair));
      pos += 2;
      continue;
    }
    const uint8_t code = pair[1];
    if (code == design::kEnd) return;
    if ((code == design::kColourChange || code == design::kJump) && pos + 4 <= b.size()) {
      step(code == design::kJump ? GlyphStepKind::kJump : GlyphStepKind::kColourChange,
           design::PairDx(pair + 2), design::PairDy(pair + 2));
      pos += 4;
    } else {
      pos += 2;
    }
  }
}

// Sets width, height, rectangle and top offset from the glyph's origin and angle; a space
// is half a line unit wide and has no rectangle.
void MeasureCharacter(MonogramGlyph& glyph, int32_t lineUnit);

// The nearest integer, halves away from zero.
int32_t Near(double v);

// Where the origin stands for a centre, a glyph offset and an angle in degrees.
MonogramPoint OriginFromCentre(MonogramPoint centre, MonogramPoint offset, int32_t angleDegrees);

}  // namespace editor
