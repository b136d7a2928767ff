#include "tools/fontmaker/glyph_sewing.h"

#include <algorithm>
#include <limits>

#include "design/stitch_stream.h"
#include "layoutcore/monogram/monogram_stitches.h"
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

  // From the base line's left end to the middle of the work area, where Seamlib starts.
  std::vector<uint8_t> stitches(64, 0);
  editor::StitchSink sink(stitches);
  // Seamlib counts pixels in its mask, border included.
  const int left = kMargin + 1;
  editor::NeedlePoint needle{PixelToStitch(left), PixelToStitch(left + mask.baseline)};
  if (!editor::EncodeJumpMove(needle, {workWidth * 25 / 20, workHeight * 25 / 20}, sink)) return {};
  stitches.resize(sink.Position());
  stitches.insert(stitches.end(), area.begin(), area.begin() + static_cast<std::ptrdiff_t>(sewnBytes));
  stitches.push_back(design::kStitchEscape);
  stitches.push_back(design::kEnd);
  return stitches;
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
