#pragma once

// Colour reduction of an imported picture to a few thread-sized colours, and the outline that
// the edges of those colours make.
//
// The picture is quantised to a few levels per channel (the sensitivity), the quantised colours
// are counted in 4096 bins of one 4-bit digit per channel, and the most frequent bins are taken
// one after another, each as a packed black-and-white mask of its pixels. The masks' edges (and
// their thin features whole) accumulate into one byte map, which is thinned into the outline
// drawing. The Outline command, the Preview Outline dialog and the Auto Register run share it.
//
// Pictures are PixelImages of the work size, top row first, palette-relative colours 0x02BBGGRR.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "digitizer/bit_mask.h"
#include "digitizer/pixel_image.h"

namespace digitizer {

constexpr int kColourBinCount = 4096;
constexpr int kSensitivityLow = 0;
constexpr int kSensitivityMedium = 1;  // the view's default
constexpr int kSensitivityHigh = 2;
// A bin must hold more pixels than this to count as a colour of the picture.
constexpr int kAutoRegisterBinThreshold = 50;
constexpr int kOutlineBinThreshold = 10;
// Line thickness in dots (0.25 mm pixels) that the user may choose.
constexpr int kMinLineThickness = 1;
constexpr int kMaxLineThickness = 20;

struct SensitivityLevel {
  const char* radioText;
  uint8_t channelMask;  // the bits of a channel that survive
  uint8_t roundingAdd;  // added first to a channel at or below the mask: rounds to the nearest level
  int binBound;         // the bin of quantised white: bins from here on are never taken as colours
};

// A sensitivity outside 0..2 is read as Medium: a bad profile value must not index past the table.
int ValidSensitivity(int sensitivity);
const SensitivityLevel& SensitivityLevelFor(int sensitivity);

uint8_t QuantizeChannel(uint8_t value, const SensitivityLevel& level);
// The top byte (the palette-relative flag) passes unchanged.
platform::PaletteColour QuantizeColour(platform::PaletteColour colour, const SensitivityLevel& level);
// Bin of a colour: blue, green and red's high nibbles as three hex digits.
int ColourBin(platform::PaletteColour colour);
// The colour a bin stands for: each digit times 16.
platform::PaletteColour BinColour(int bin);

using ColourBinCounts = std::array<int32_t, kColourBinCount>;

// Writes the quantised source into target (which may be the source itself; both of one size)
// and counts every pixel into its bin. Returns the number of bins holding more than threshold
// pixels. A target of another size is left alone and nothing is counted.
int QuantizeAndCount(const PixelImage& source, PixelImage& target, int sensitivity, int threshold,
                     ColourBinCounts& counts);
// The same without counting: the preview of the colour sensitivity.
void QuantizeImage(const PixelImage& source, PixelImage& target, int sensitivity);

struct TakenBin {
  int bin = 0;
  int32_t count = 0;  // its count before it was taken; -1 when it had been taken already
};
// The bin with the largest count below bound (the lowest bin wins ties); its count becomes -1
// so that it is never taken again.
TakenBin TakeLargestBin(ColourBinCounts& counts, int bound);

// Packs into `packed` (CBitMask layout) bit 1 for every pixel of the bin's colour, bit 0 for all
// others. Returns the top-left-most such pixel's index (row order), or -1 when there is none.
long BinMask(const PixelImage& quantised, int bin, const CBitMask& mask, std::span<uint8_t> packed);

// Dark-lines option: only quantised black (bin 0) keeps the chosen thickness; every other colour
// gets lines of one dot.
int LineThicknessFor(int bin, bool darkLinesOnly, int lineThickness);

// The machine thread code whose colour lies nearest (sum of channel differences) among the 78
// machine threads; a row with any channel more than 100 away is never chosen; with none left the
// first row is. A row without a code answers 1.
int NearestThreadColor(platform::PaletteColour colour);

struct OutlineOptions {
  int sensitivity = kSensitivityMedium;
  int lineThickness = kMinLineThickness;
  bool darkLinesOnly = false;
};

// The outline work of one work size: the accumulated byte map and the packed scratch mask,
// allocated once at that size.
class OutlineBuilder {
 public:
  OutlineBuilder(int width, int height);

  int Width() const { return mask_.Width(); }
  int Height() const { return mask_.Height(); }
  const CBitMask& Mask() const { return mask_; }

  // Quantises source into target, takes the frequent colours, marks their edges and thins the
  // result. Target and source may be one picture. Afterwards Accumulated() holds the outline.
  void Build(const PixelImage& source, PixelImage& target, const OutlineOptions& options);

  std::vector<uint8_t>& Accumulated() { return accumulated_; }
  const std::vector<uint8_t>& Accumulated() const { return accumulated_; }
  // The outline packed with set pixels black, as a monochrome bitmap holds it.
  std::vector<uint8_t> PackedOutline() const;

 private:
  CBitMask mask_;
  std::vector<uint8_t> accumulated_;
  std::vector<uint8_t> packed_;
  ColourBinCounts counts_{};
};

// Paints a packed monochrome picture (bit 0 black, bit 1 white) into image, from its top-left.
void PaintMonochrome(const CBitMask& mask, std::span<const uint8_t> packed, PixelImage& image);

// Reduces a byte map to a preview of previewWidth x previewHeight: every set source pixel sets
// the preview pixel it falls on, so a thin line never vanishes. Returns the preview byte map.
std::vector<uint8_t> ReduceMap(std::span<const uint8_t> map, int width, int height, int previewWidth,
                               int previewHeight);

}  // namespace digitizer
