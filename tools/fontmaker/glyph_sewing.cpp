#include "tools/fontmaker/glyph_sewing.h"

#include <algorithm>
#include <limits>
#include <span>

#include "design/jump_chain.h"
#include "design/stitch_stream.h"
#include "stitchgen/seamlib.h"

namespace fontmaker {

namespace {

// Seamlib's mask: 560 x 800 work pixels inside a border of one empty pixel.
constexpr int kMaskStride = 562;
constexpr int kMaskRows = 802;
constexpr int kWorkColumns = 560;
constexpr int kWorkRows = 800;
// Empty pixels kept around the letter inside the work area.
constexpr int kMargin = 4;
// The pairs Seamlib's result counts besides those it wrote.
constexpr int kResultPairsAdded = 4;

// A mask pixel's needle position in 0.1 mm (a pixel is 0.25 mm), as Seamlib places it.
int PixelToStitch(int pixel) { return (5 * pixel + 1) / 2; }

// Seamlib's pairs as a glyph's stitch data, starting with a move of (startDx, startDy) (dy
// upwards) from the glyph's origin to Seamlib's first needle point. A lettering writes each
// jump of a glyph with a zero stitch after it, which lands the jump, and sews the glyph's
// next pair: so every jump run here carries the whole move to where sewing resumes, the
// move of Seamlib's landing included, and ends with a landing of nothing.
std::vector<uint8_t> GlyphStitchData(std::span<const uint8_t> seamlib, int startDx, int startDy) {
  std::vector<uint8_t> data;
  auto put = [&](int dx, int dy) {
    data.push_back(static_cast<uint8_t>(static_cast<int8_t>(dx)));
    data.push_back(static_cast<uint8_t>(static_cast<int8_t>(dy)));
  };
  int moveX = startDx;
  int moveY = startDy;
  bool landingNext = true;
  for (std::size_t p = 0; p + 2 <= seamlib.size(); p += design::StreamItemBytes(&seamlib[p])) {
    const uint8_t* pair = &seamlib[p];
    if (design::IsControl(pair, design::kEnd)) break;
    if (design::TakesNextPair(pair) && design::IsJumpCode(pair[1]) && p + 4 <= seamlib.size()) {
      moveX += design::PairDx(pair + 2);
      moveY += design::PairDy(pair + 2);
      landingNext = true;
      continue;
    }
    if (design::IsControl(pair)) continue;  // a weave writes no other control pair
    if (!landingNext) {
      put(design::PairDx(pair), design::PairDy(pair));
      continue;
    }
    design::ForEachJumpChainPair(moveX + design::PairDx(pair), moveY + design::PairDy(pair), [&](int dx, int dy) {
      data.push_back(design::kStitchEscape);
      data.push_back(design::kJump);
      put(dx, dy);
    });
    put(0, 0);
    moveX = moveY = 0;
    landingNext = false;
  }
  data.push_back(design::kStitchEscape);
  data.push_back(design::kEnd);
  return data;
}

}  // namespace

LetterFill FillFor(const GlyphMask& mask) {
  return mask.height > mask.width ? LetterFill::kVerticalWeave : LetterFill::kHorizontalWeave;
}

std::vector<uint8_t> SewGlyph(const GlyphMask& mask) {
  if (mask.width <= 0 || mask.height <= 0) return {};
  if (mask.pixels.size() != static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) return {};
  const int workWidth = mask.width + 2 * kMargin;
  const int workHeight = std::max(mask.height, mask.baseline) + 2 * kMargin;
  if (workWidth > kWorkColumns || workHeight > kWorkRows) return {};

  std::vector<uint8_t> plane(std::size_t{kMaskStride} * kMaskRows, 0);
  bool anyInk = false;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (!mask.Ink(x, y)) continue;
      plane[static_cast<std::size_t>(y + kMargin + 1) * kMaskStride + static_cast<std::size_t>(x + kMargin + 1)] = 1;
      anyInk = true;
    }
  }
  if (!anyInk) return {};

  std::vector<uint8_t> area(kSeamlibStitchAreaBytes, 0);
  const int result = StChgStitch(static_cast<int>(FillFor(mask)), 1, workWidth, workHeight,
                                 reinterpret_cast<char*>(area.data()), plane.data(), nullptr, 0);
  if (result <= kResultPairsAdded) return {};
  const std::size_t sewnBytes = 2 * static_cast<std::size_t>(result - kResultPairsAdded);

  // Seamlib starts in the middle of the work area; the glyph at the base line's left end.
  // Seamlib counts pixels in its mask, border included; its y runs down.
  const int left = kMargin + 1;
  const int startDx = workWidth * 25 / 20 - PixelToStitch(left);
  const int startDy = PixelToStitch(left + mask.baseline) - workHeight * 25 / 20;
  return GlyphStitchData(std::span<const uint8_t>(area.data(), sewnBytes), startDx, startDy);
}

std::vector<int16_t> GlyphPartCounts(const std::vector<uint8_t>& stitches) {
  std::vector<int16_t> counts;
  std::size_t pairs = stitches.size() / 2;
  constexpr std::size_t kMaxCount = std::numeric_limits<int16_t>::max();
  while (pairs > 0) {
    const std::size_t count = std::min(pairs, kMaxCount);
    counts.push_back(static_cast<int16_t>(count));
    pairs -= count;
  }
  return counts;
}

editor::MonogramFontImage MakeMonogramFont(const std::map<unsigned char, GlyphMask>& letters, const FontMeasures& measures) {
  editor::MonogramFontImage font;
  font.lineUnit = measures.lineUnit;
  font.gaps = measures.gaps;
  for (const auto& [c, mask] : letters) {
    const std::vector<uint8_t> stitches = SewGlyph(mask);
    // A record's length is 16 bits: a letter too large for one is left out.
    if (stitches.empty() || stitches.size() + editor::kGlyphStitchesAt > std::numeric_limits<uint16_t>::max()) continue;
    const std::vector<int16_t> counts = GlyphPartCounts(stitches);
    font.records[c] = editor::MonogramGlyphRecordBytes(stitches, counts);
  }
  return font;
}

}  // namespace fontmaker
