#include "digitizer/colour_reduction.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "design/thread_colors.h"

namespace digitizer {
namespace {

using platform::PaletteRgb;

const PixelImage WhiteImage(int width, int height) { return PixelImage(width, height, platform::kPaletteWhite); }

TEST(ColourQuantizing, RoundsChannelsToTheLevelsOfTheSensitivity) {
  const SensitivityLevel& low = SensitivityLevelFor(kSensitivityLow);
  EXPECT_EQ(QuantizeChannel(0x1F, low), 0x00);
  EXPECT_EQ(QuantizeChannel(0x20, low), 0x40);
  EXPECT_EQ(QuantizeChannel(0xC0, low), 0xC0);  // at the mask: 0xC0 + 32 = 0xE0, masked back
  EXPECT_EQ(QuantizeChannel(0xC1, low), 0xC0);  // above the mask: no add, which would wrap
  EXPECT_EQ(QuantizeChannel(0xFF, low), 0xC0);
  EXPECT_EQ(QuantizeChannel(0x0F, SensitivityLevelFor(kSensitivityMedium)), 0x00);
  EXPECT_EQ(QuantizeChannel(0x10, SensitivityLevelFor(kSensitivityMedium)), 0x20);
  EXPECT_EQ(QuantizeChannel(0xF7, SensitivityLevelFor(kSensitivityHigh)), 0xF0);
  EXPECT_EQ(QuantizeChannel(0x08, SensitivityLevelFor(kSensitivityHigh)), 0x10);

  // The palette-relative flag passes; each channel is rounded on its own.
  EXPECT_EQ(QuantizeColour(PaletteRgb(0x1F, 0x20, 0xFF), low), PaletteRgb(0x00, 0x40, 0xC0));
}

TEST(ColourQuantizing, WhiteFallsIntoTheBoundBinAtEveryLevel) {
  for (int sensitivity : {kSensitivityLow, kSensitivityMedium, kSensitivityHigh}) {
    const SensitivityLevel& level = SensitivityLevelFor(sensitivity);
    EXPECT_EQ(ColourBin(QuantizeColour(platform::kPaletteWhite, level)), level.binBound) << sensitivity;
  }
  EXPECT_STREQ(SensitivityLevelFor(kSensitivityLow).radioText, "Low");
  EXPECT_STREQ(SensitivityLevelFor(kSensitivityHigh).radioText, "High");
  // A sensitivity from a damaged setting reads as Medium instead of indexing past the table.
  EXPECT_EQ(&SensitivityLevelFor(7), &SensitivityLevelFor(kSensitivityMedium));
  EXPECT_EQ(&SensitivityLevelFor(-1), &SensitivityLevelFor(kSensitivityMedium));
  EXPECT_EQ(ValidSensitivity(3), kSensitivityMedium);
  EXPECT_EQ(ValidSensitivity(kSensitivityHigh), kSensitivityHigh);
}

TEST(ColourQuantizing, BinsAndTheirColoursAreThreeHexDigits) {
  EXPECT_EQ(ColourBin(PaletteRgb(0x20, 0x40, 0xC0)), 0xC42);
  EXPECT_EQ(BinColour(0xC42), PaletteRgb(0x20, 0x40, 0xC0));
  EXPECT_EQ(BinColour(0), platform::kPaletteBlack);
}

TEST(ColourCounting, CountsEveryPixelAndReportsTheBinsAboveTheThreshold) {
  PixelImage picture = WhiteImage(20, 10);
  picture.FillRect(0, 0, 6, 2, PaletteRgb(250, 5, 5));     // 12 red-ish pixels
  picture.FillRect(0, 5, 20, 6, PaletteRgb(10, 200, 10));  // 20 green-ish pixels
  PixelImage quantised(20, 10, 0);
  ColourBinCounts counts{};
  // Above 11: white (168) and green (20); red (12) is not.
  EXPECT_EQ(QuantizeAndCount(picture, quantised, kSensitivityMedium, 12, counts), 2);
  EXPECT_EQ(counts[static_cast<std::size_t>(ColourBin(PaletteRgb(0xE0, 0, 0)))], 12);
  EXPECT_EQ(counts[0xEEE], 168);
  EXPECT_EQ(quantised.At(0, 0), PaletteRgb(0xE0, 0x00, 0x00));
  EXPECT_EQ(quantised.At(19, 9), PaletteRgb(0xE0, 0xE0, 0xE0));

  // Quantising in place gives the same picture.
  EXPECT_EQ(QuantizeAndCount(picture, picture, kSensitivityMedium, 12, counts), 2);
  EXPECT_EQ(picture.At(0, 5), quantised.At(0, 5));

  // A target of another size is refused, not overrun.
  PixelImage small(3, 3, 0);
  EXPECT_EQ(QuantizeAndCount(picture, small, kSensitivityMedium, 0, counts), 0);
  EXPECT_EQ(small.At(2, 2), 0u);
}

TEST(ColourCounting, TakesTheLargestBinOnceAndTheLowerOneOnATie) {
  ColourBinCounts counts{};
  counts[5] = 70;
  counts[9] = 70;
  counts[3] = 20;
  counts[0xEEE] = 5000;  // white, beyond the bound
  TakenBin first = TakeLargestBin(counts, 0xEEE);
  EXPECT_EQ(first.bin, 5);
  EXPECT_EQ(first.count, 70);
  EXPECT_EQ(counts[5], -1);
  EXPECT_EQ(TakeLargestBin(counts, 0xEEE).bin, 9);
  EXPECT_EQ(TakeLargestBin(counts, 0xEEE).bin, 3);
  // Nothing left: bin 0 (count 0) answers, never white.
  const TakenBin empty = TakeLargestBin(counts, 0xEEE);
  EXPECT_EQ(empty.bin, 0);
  EXPECT_EQ(empty.count, 0);
}

TEST(ColourCounting, BinMaskSetsExactlyThePixelsOfTheColour) {
  PixelImage quantised = WhiteImage(24, 3);
  quantised.Set(9, 1, PaletteRgb(0x20, 0x40, 0x60));
  quantised.Set(17, 2, PaletteRgb(0x20, 0x40, 0x60));
  const CBitMask mask(24, 3);
  std::vector<uint8_t> packed(mask.PackedBytes(), 0xAA);
  EXPECT_EQ(BinMask(quantised, 0x642, mask, packed), 1L * 24 + 9);
  // Rows of four bytes (three of pixels and one of padding).
  const std::vector<uint8_t> expected{0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0x40, 0};
  EXPECT_EQ(packed, expected);
  EXPECT_EQ(BinMask(quantised, 0x123, mask, packed), -1);
}

TEST(ColourCounting, DarkLinesKeepTheThicknessForBlackOnly) {
  EXPECT_EQ(LineThicknessFor(0, true, 7), 7);
  EXPECT_EQ(LineThicknessFor(0x642, true, 7), 1);
  EXPECT_EQ(LineThicknessFor(0x642, false, 7), 7);
}

TEST(NearestThread, PicksTheClosestMachineThread) {
  const auto table = design::ThreadColorTable();
  // Every machine thread's own colour finds a row of that colour (an earlier row may share it).
  for (int row = 0; row < 78; ++row) {
    const auto& entry = table[static_cast<std::size_t>(row)];
    const int code = NearestThreadColor(PaletteRgb(entry.red, entry.green, entry.blue));
    EXPECT_EQ(design::ThreadCodeToRGB(code), PaletteRgb(entry.red, entry.green, entry.blue)) << row;
  }
  EXPECT_EQ(NearestThreadColor(PaletteRgb(3, 2, 1)), table[0].code);
}

TEST(NearestThread, AColourFarFromEveryThreadTakesTheFirstRow) {
  const auto table = design::ThreadColorTable();
  auto farFromAll = [&](int r, int g, int b) {
    for (int row = 0; row < 78; ++row) {
      const auto& e = table[static_cast<std::size_t>(row)];
      if (std::abs(e.red - r) <= 100 && std::abs(e.green - g) <= 100 && std::abs(e.blue - b) <= 100) return false;
    }
    return true;
  };
  int found = 0;
  for (int r = 0; r < 256; r += 51) {
    for (int g = 0; g < 256; g += 51) {
      for (int b = 0; b < 256; b += 51) {
        if (!farFromAll(r, g, b)) continue;
        ++found;
        EXPECT_EQ(NearestThreadColor(PaletteRgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                                                static_cast<uint8_t>(b))),
                  table[0].code == 0 ? 1 : table[0].code);
      }
    }
  }
  EXPECT_GT(found, 0);
}


PixelImage SquareOnWhite(platform::PaletteColour colour) {
  PixelImage picture = WhiteImage(32, 24);
  picture.FillRect(5, 5, 15, 15, colour);
  return picture;
}

TEST(Outline, ASquareOnWhiteGivesItsEdgesAndNothingInside) {
  PixelImage picture = SquareOnWhite(PaletteRgb(200, 30, 30));
  OutlineBuilder builder(32, 24);
  builder.Build(picture, picture, OutlineOptions{});
  const std::vector<uint8_t>& outline = builder.Accumulated();
  int set = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (outline[static_cast<std::size_t>(y) * 32 + x] == 0) continue;
      ++set;
      // The edge pixels are the square's first column and row and the ones just behind it.
      EXPECT_TRUE(x == 5 || x == 15 || y == 5 || y == 15) << x << "," << y;
    }
  }
  EXPECT_GT(set, 20);
  EXPECT_EQ(outline[10 * 32 + 10], 0);

  // Packed for a monochrome bitmap: the outline black (bit 0), the rest white.
  const std::vector<uint8_t> packed = builder.PackedOutline();
  ASSERT_EQ(packed.size(), builder.Mask().PackedBytes());
  PixelImage painted(32, 24, 0);
  PaintMonochrome(builder.Mask(), packed, painted);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(painted.At(x, y), outline[static_cast<std::size_t>(y) * 32 + x] ? platform::kPaletteBlack
                                                                                 : platform::kPaletteWhite);
    }
  }
}

TEST(Outline, WhiteAloneHasNoOutlineAndAThinStripeIsKeptWhole) {
  PixelImage white = WhiteImage(32, 24);
  OutlineBuilder builder(32, 24);
  builder.Build(white, white, OutlineOptions{});
  for (uint8_t pixel : builder.Accumulated()) ASSERT_EQ(pixel, 0);

  // A black stripe 3 dots high: thinner than a 5-dot line, so it is copied whole and then
  // thinned to one line rather than to two edges.
  PixelImage stripe = WhiteImage(32, 24);
  stripe.FillRect(2, 10, 30, 13, platform::kPaletteBlack);
  OutlineOptions thick;
  thick.lineThickness = 5;
  builder.Build(stripe, stripe, thick);
  int rowsWithPixels = 0;
  for (int y = 0; y < 24; ++y) {
    if (builder.Accumulated()[static_cast<std::size_t>(y) * 32 + 16] != 0) ++rowsWithPixels;
  }
  EXPECT_EQ(rowsWithPixels, 1);

  // With the dark-lines option a red stripe keeps lines of one dot: two edges.
  stripe.FillRect(2, 10, 30, 13, PaletteRgb(220, 0, 0));
  thick.darkLinesOnly = true;
  builder.Build(stripe, stripe, thick);
  rowsWithPixels = 0;
  for (int y = 0; y < 24; ++y) {
    if (builder.Accumulated()[static_cast<std::size_t>(y) * 32 + 16] != 0) ++rowsWithPixels;
  }
  EXPECT_EQ(rowsWithPixels, 2);
}

TEST(Outline, AReducedPreviewKeepsEveryThinLine) {
  // A one-pixel vertical line at x = 7 of a 40 x 30 map reduced to 10 x 10 lands in column 1.
  std::vector<uint8_t> map(40 * 30, 0);
  for (int y = 0; y < 30; ++y) map[static_cast<std::size_t>(y) * 40 + 7] = 1;
  const std::vector<uint8_t> preview = ReduceMap(map, 40, 30, 10, 10);
  ASSERT_EQ(preview.size(), 100u);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(preview[static_cast<std::size_t>(y) * 10 + x], x == 1 ? 1 : 0);
  }
  // Degenerate sizes and a short map give an empty preview instead of a division by zero or an overrun.
  EXPECT_EQ(ReduceMap(map, 0, 30, 10, 10), std::vector<uint8_t>(100, 0));
  EXPECT_EQ(ReduceMap(map, 40, 31, 10, 10), std::vector<uint8_t>(100, 0));
  EXPECT_TRUE(ReduceMap(map, 40, 30, 0, 10).empty());
}

}  // namespace
}  // namespace digitizer
